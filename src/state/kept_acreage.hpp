#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "runtime/platform.hpp"
#include "runtime/stream.hpp"

namespace tamvek {

// The fields of one read of an authorized-acreage record.
struct AcreageFields {
  std::int32_t grp = 0;
  std::int32_t twp = 0;
  std::int32_t rng = 0;
  std::int32_t sec = 0;
  std::int32_t tract = 0;
  float tacres = 0;
};

// Measured: with the second pass reading the file again a whole run on the largest data set
// takes 1.17 times as long; the records take 12 bytes each (12 MB there).
//
// The authorized-acreage records as the first pass read them, kept so that the
// second pass takes them from here instead of reading the file again. They
// stand for a second read only while the file is the one the first pass read
// (the same size and time of last change) and every record of it was kept.
// Records are not kept past a tract key beyond 255 in any part, which the
// second pass stops at anyway, nor past `max_records`: the second pass then
// reads the file as usual.
class KeptAcreage {
 public:
  static constexpr std::size_t max_records = std::size_t{8} << 20;

  // Begins to keep the records of a file of `version`, with room for about
  // `expected` records.
  void start(const FileVersion& version, std::size_t expected);
  // The fields as a read left them, and which of them it set: bit 0 for grp,
  // up to bit 5 for tacres.
  void add(const AcreageFields& fields, std::uint64_t assigned) {
    if (keeping_ && ever_assigned_ == every_field && size_ < capacity_ && fits_a_byte(fields.twp) &&
        fits_a_byte(fields.rng) && fits_a_byte(fields.sec) && fits_a_byte(fields.tract)) {
      put(fields);
      return;
    }
    add_with_care(fields, assigned);
  }
  // True when every record of the file is kept and the file is still of the
  // version the first pass read.
  bool stand_for(const FileVersion& now) const { return keeping_ && now == version_; }
  std::size_t size() const { return size_; }

  // The fields that a second read of record `index` leaves, given those the
  // read of the record before left (the run's fields for the first record).
  AcreageFields read_again(std::size_t index, const AcreageFields& before) const {
    const Record& record = records_.get()[index];
    const AcreageFields read{record.grp, record.key[0], record.key[1], record.key[2], record.key[3], record.tacres};
    if (index >= leading_assigned_.size()) return read;
    const std::uint8_t assigned = leading_assigned_[index];
    const auto pick = [assigned](int bit, auto now, auto earlier) { return (assigned >> bit & 1) != 0 ? now : earlier; };
    return {pick(0, read.grp, before.grp),     pick(1, read.twp, before.twp),
            pick(2, read.rng, before.rng),     pick(3, read.sec, before.sec),
            pick(4, read.tract, before.tract), pick(5, read.tacres, before.tacres)};
  }

  // Frees the records, which then stand for nothing.
  void release();

 private:
  struct Record {
    std::int32_t grp;
    std::uint8_t key[4];  // twp, rng, sec, tract
    float tacres;
  };

  static constexpr std::uint8_t every_field = 0x3F;
  static bool fits_a_byte(std::int32_t part) { return static_cast<std::uint32_t>(part) <= 255; }
  static std::uint8_t byte_of(std::int32_t part) { return static_cast<std::uint8_t>(part); }
  struct FreeLarge {
    void operator()(Record* block) const { platform::free_large(block); }
  };

  void put(const AcreageFields& fields) {
    ::new (static_cast<void*>(records_.get() + size_++))
        Record{fields.grp, {byte_of(fields.twp), byte_of(fields.rng), byte_of(fields.sec), byte_of(fields.tract)},
               fields.tacres};
  }
  // add() for the first records, a full block and keys beyond a byte.
  void add_with_care(const AcreageFields& fields, std::uint64_t assigned);
  // Room for `capacity` records, those kept moved there; false when there is none.
  bool make_room(std::size_t capacity);

  // In memory for large tables: the second pass reads them soon after the first wrote them.
  std::unique_ptr<Record[], FreeLarge> records_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  // Which fields the reads set, for the records up to the one by which every
  // field has been set once: from there on a record's fields are the same at
  // every read of the file.
  std::vector<std::uint8_t> leading_assigned_;
  std::uint8_t ever_assigned_ = 0;
  FileVersion version_;
  bool keeping_ = false;
};

}  // namespace tamvek
