#include "state/kept_acreage.hpp"

#include <algorithm>
#include <cstring>

namespace tamvek {

void KeptAcreage::start(const FileVersion& version, std::size_t expected) {
  release();
  version_ = version;
  keeping_ = make_room(std::min(expected, max_records));
}

void KeptAcreage::add_with_care(const AcreageFields& fields, std::uint64_t assigned) {
  if (!keeping_) return;
  if (size_ == max_records || !fits_a_byte(fields.twp) || !fits_a_byte(fields.rng) || !fits_a_byte(fields.sec) ||
      !fits_a_byte(fields.tract) ||
      (size_ == capacity_ && !make_room(std::min(std::max(2 * capacity_, std::size_t{4096}), max_records)))) {
    release();
    return;
  }
  try {
    if (ever_assigned_ != every_field) {
      leading_assigned_.push_back(static_cast<std::uint8_t>(assigned & every_field));
      ever_assigned_ |= static_cast<std::uint8_t>(assigned & every_field);
    }
  } catch (const std::bad_alloc&) {
    release();
    return;
  }
  put(fields);
}

bool KeptAcreage::make_room(std::size_t capacity) {
  if (capacity == 0) return true;
  std::unique_ptr<Record[], FreeLarge> block(static_cast<Record*>(platform::allocate_large(capacity * sizeof(Record))));
  if (!block) return false;
  if (size_ != 0) std::memcpy(static_cast<void*>(block.get()), records_.get(), size_ * sizeof(Record));
  records_ = std::move(block);
  capacity_ = capacity;
  return true;
}

void KeptAcreage::release() {
  records_.reset();
  size_ = capacity_ = 0;
  std::vector<std::uint8_t>().swap(leading_assigned_);
  ever_assigned_ = 0;
  keeping_ = false;
}

}  // namespace tamvek
