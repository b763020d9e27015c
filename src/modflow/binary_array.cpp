#include "modflow/binary_array.hpp"

#include <bit>

namespace tamvek::modflow {
namespace {

std::uint64_t little_endian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::int32_t integer4(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(little_endian(bytes, at, 4)));
}
double real4(std::string_view bytes, std::size_t at) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(little_endian(bytes, at, 4)));
}
double real8(std::string_view bytes, std::size_t at) {
  return std::bit_cast<double>(little_endian(bytes, at, 8));
}

constexpr std::size_t single_header = 44;
constexpr std::size_t double_header = 52;

void read_header(std::string_view bytes, std::size_t at, std::size_t real_size, BinaryHeader& header) {
  header.kstp = integer4(bytes, at);
  header.kper = integer4(bytes, at + 4);
  header.pertim = real_size == 8 ? real8(bytes, at + 8) : real4(bytes, at + 8);
  header.totim = real_size == 8 ? real8(bytes, at + 8 + real_size) : real4(bytes, at + 8 + real_size);
  const std::size_t text = at + 8 + 2 * real_size;
  header.text = std::string(bytes.substr(text, 16));
  header.ncol = integer4(bytes, text + 16);
  header.nrow = integer4(bytes, text + 20);
  header.ilay = integer4(bytes, text + 24);
}

}  // namespace

bool read_stream_header(std::string_view bytes, std::size_t& at, BinaryHeader& header, std::string& fault) {
  if (bytes.size() - at < double_header) {
    fault = "a header of " + std::to_string(double_header) + " bytes expected at byte " +
            std::to_string(at) + ", but the file ends";
    return false;
  }
  read_header(bytes, at, 8, header);
  at += double_header;
  return true;
}

bool read_stream_values(std::string_view bytes, std::size_t& at, std::span<double> values, std::string& fault) {
  if ((bytes.size() - at) / 8 < values.size()) {
    fault = std::to_string(values.size()) + " values of 8 bytes expected after byte " +
            std::to_string(at) + ", but the file holds " + std::to_string((bytes.size() - at) / 8);
    return false;
  }
  for (double& value : values) {
    value = real8(bytes, at);
    at += 8;
  }
  return true;
}

bool read_sequential_record(std::string_view bytes, std::size_t& at, std::string_view& record,
                            std::string& fault) {
  if (bytes.size() - at < 4) {
    fault = "a record expected at byte " + std::to_string(at) + ", but the file ends";
    return false;
  }
  const std::int32_t length = integer4(bytes, at);
  if (length < 0 || bytes.size() - at - 4 < static_cast<std::size_t>(length) + 4) {
    fault = "the record at byte " + std::to_string(at) + " gives its length as " + std::to_string(length) +
            ", which the file does not hold (not a file of unformatted records)";
    return false;
  }
  const auto size = static_cast<std::size_t>(length);
  if (integer4(bytes, at + 4 + size) != length) {
    fault = "the record at byte " + std::to_string(at) + " ends in another length than it begins with "
            "(not a file of unformatted records)";
    return false;
  }
  record = bytes.substr(at + 4, size);
  at += size + 8;
  return true;
}

bool header_of_record(std::string_view record, BinaryHeader& header) {
  if (record.size() != single_header && record.size() != double_header) return false;
  read_header(record, 0, record.size() == double_header ? 8 : 4, header);
  return true;
}

bool values_of_record(std::string_view record, std::span<double> values, std::string& fault) {
  const std::size_t count = values.size();
  std::size_t size = 0;
  if (record.size() == count * 4) size = 4;
  else if (record.size() == count * 8) size = 8;
  if (size == 0 || count == 0) {
    fault = "a record of " + std::to_string(count) + " values of 4 or 8 bytes expected, and it holds " +
            std::to_string(record.size()) + " bytes";
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) values[i] = size == 8 ? real8(record, i * 8) : real4(record, i * 4);
  return true;
}

}  // namespace tamvek::modflow
