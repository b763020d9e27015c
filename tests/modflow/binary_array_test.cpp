#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "modflow/binary_array.hpp"

namespace tamvek::modflow {
namespace {

template <class T>
void put(std::string& bytes, T value) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));  // the test machine is little-endian, as the files are
  bytes.append(raw, sizeof(T));
}

std::string header(int real_size, std::int32_t ncol, std::int32_t nrow) {
  std::string bytes;
  put<std::int32_t>(bytes, 1);
  put<std::int32_t>(bytes, 2);
  if (real_size == 8) {
    put<double>(bytes, 3.5), put<double>(bytes, 4.5);
  } else {
    put<float>(bytes, 3.5f), put<float>(bytes, 4.5f);
  }
  bytes += "            DELR";
  put<std::int32_t>(bytes, ncol);
  put<std::int32_t>(bytes, nrow);
  put<std::int32_t>(bytes, 1);
  return bytes;
}

std::string record(const std::string& payload) {
  std::string bytes;
  put<std::int32_t>(bytes, static_cast<std::int32_t>(payload.size()));
  bytes += payload;
  put<std::int32_t>(bytes, static_cast<std::int32_t>(payload.size()));
  return bytes;
}

TEST(BinaryArray, StreamOfMf6HeaderThenEightByteReals) {
  std::string bytes = header(8, 3, 1);
  for (double v : {2640.0, 0.1, -7.25}) put<double>(bytes, v);
  std::size_t at = 0;
  std::string fault;
  BinaryHeader read;
  ASSERT_TRUE(read_stream_header(bytes, at, read, fault)) << fault;
  EXPECT_EQ(52u, at);
  EXPECT_EQ(1, read.kstp);
  EXPECT_EQ(2, read.kper);
  EXPECT_EQ(4.5, read.totim);
  EXPECT_EQ("            DELR", read.text);
  EXPECT_EQ(3, read.ncol);
  EXPECT_EQ(1, read.nrow);
  std::vector<double> values(3);
  ASSERT_TRUE(read_stream_values(bytes, at, values, fault)) << fault;
  EXPECT_EQ((std::vector<double>{2640.0, 0.1, -7.25}), values);

  std::vector<double> more(4);
  at = 52;
  EXPECT_FALSE(read_stream_values(bytes, at, more, fault));
  EXPECT_EQ("4 values of 8 bytes expected after byte 52, but the file holds 3", fault);
  at = 0;
  EXPECT_FALSE(read_stream_header(bytes.substr(0, 51), at, read, fault));
}

TEST(BinaryArray, SequentialRecordsOfMf2005) {
  std::string values4, values8;
  for (float v : {1.5f, 2.5f}) put<float>(values4, v);
  for (double v : {1.5, 2.5}) put<double>(values8, v);
  const std::string bytes = record(header(4, 2, 1)) + record(values4) + record(header(8, 2, 1)) + record(values8);
  std::size_t at = 0;
  std::string fault;
  std::string_view payload;
  BinaryHeader read;
  std::vector<double> values(2);
  for (int array = 0; array < 2; ++array) {
    ASSERT_TRUE(read_sequential_record(bytes, at, payload, fault)) << fault;
    ASSERT_TRUE(header_of_record(payload, read));
    EXPECT_EQ(3.5, read.pertim);
    EXPECT_EQ(2, read.ncol);
    ASSERT_TRUE(read_sequential_record(bytes, at, payload, fault)) << fault;
    ASSERT_TRUE(values_of_record(payload, values, fault)) << fault;
    EXPECT_EQ((std::vector<double>{1.5, 2.5}), values);
  }
  EXPECT_EQ(bytes.size(), at);

  // Marks that do not agree, a length past the end, and a record of another size.
  std::string broken = record(values4);
  broken[broken.size() - 1] = 9;
  at = 0;
  EXPECT_FALSE(read_sequential_record(broken, at, payload, fault));
  EXPECT_NE(std::string::npos, fault.find("ends in another length"));
  at = 0;
  EXPECT_FALSE(read_sequential_record(record(values4).substr(0, 9), at, payload, fault));
  EXPECT_NE(std::string::npos, fault.find("which the file does not hold"));
  std::vector<double> three(3);
  EXPECT_FALSE(values_of_record(values4, three, fault));
  EXPECT_FALSE(header_of_record(values4, read));
}

}  // namespace
}  // namespace tamvek::modflow
