#include "text/decimal_to_float.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

namespace tamvek {
namespace {

// Every value halfway between two neighbouring floats has at most 113
// significant decimal digits (the longest is about 2^24 × 2^-150), so 120 kept
// digits plus one nonzero digit standing for everything further down round to
// the same float as the full number.
constexpr std::size_t kept_digits = 120;

// Exponents beyond this give infinity or zero for any digit string that fits in
// memory; clamping keeps the arithmetic on them from overflowing.
constexpr std::int64_t exponent_limit = 1'000'000'000'000'000;

constexpr std::uint32_t infinity_bits = 0x7F80'0000;
constexpr std::uint32_t sign_bit = 0x8000'0000;

constexpr std::array<std::uint32_t, 10> small_powers_of_ten = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

float with_sign(bool negative, std::uint32_t magnitude_bits) {
  return std::bit_cast<float>(negative ? magnitude_bits | sign_bit : magnitude_bits);
}

__extension__ typedef unsigned __int128 Uint128;

// 5^27 is the largest power of five below 2^64: with it, 10^e = 5^e × 2^e
// leaves a single 64-bit factor to multiply or divide by.
constexpr std::int64_t word_exponent_limit = 27;

constexpr std::array<std::uint64_t, word_exponent_limit + 1> powers_of_five = [] {
  std::array<std::uint64_t, word_exponent_limit + 1> table{};
  std::uint64_t power = 1;
  for (std::uint64_t& entry : table) {
    entry = power;
    power *= 5;
  }
  return table;
}();

// A power of five shifted up until its top bit is set, with the inverse that
// lets a 128-by-64-bit division run on multiplications: floor((2^128 - 1) / d)
// less 2^64 (the 2^64 is implied).
struct Divisor {
  std::uint64_t normalized;
  std::uint64_t inverse;
  int shift;
};

constexpr std::array<Divisor, word_exponent_limit + 1> divisors_by_five = [] {
  std::array<Divisor, word_exponent_limit + 1> table{};
  for (std::size_t k = 0; k < table.size(); ++k) {
    const int shift = std::countl_zero(powers_of_five[k]);
    const std::uint64_t normalized = powers_of_five[k] << shift;
    table[k] = {normalized, static_cast<std::uint64_t>(~Uint128{0} / normalized), shift};
  }
  return table;
}();

// (high × 2^64 + low) / d for high < d: the quotient, with the remainder in
// `remainder`. The quotient is estimated from the inverse and corrected by at
// most one step each way (Moeller and Granlund's division by an invariant).
std::uint64_t divide(std::uint64_t high, std::uint64_t low, const Divisor& d, std::uint64_t& remainder) {
  const Uint128 estimate = Uint128{d.inverse} * high + ((Uint128{high} << 64) | low);
  std::uint64_t quotient = static_cast<std::uint64_t>(estimate >> 64) + 1;
  std::uint64_t rest = low - quotient * d.normalized;
  if (rest > static_cast<std::uint64_t>(estimate)) {
    --quotient;
    rest += d.normalized;
  }
  if (rest >= d.normalized) {
    ++quotient;
    rest -= d.normalized;
  }
  remainder = rest;
  return quotient;
}

// An unsigned integer of fixed capacity, enough for the numbers the exact
// conversion builds (below 2^700); it never allocates.
class BigNumber {
 public:
  explicit BigNumber(std::uint32_t value = 0) {
    limbs_[0] = value;
    size_ = value != 0 ? 1 : 0;
  }

  void multiply_add(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::size_t i = 0; i < size_; ++i) {
      const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
      limbs_[i] = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_[size_++] = static_cast<std::uint32_t>(carry);
  }

  void multiply_power_of_ten(int count) {
    for (; count >= 9; count -= 9) multiply_add(small_powers_of_ten[9], 0);
    if (count > 0) multiply_add(small_powers_of_ten[static_cast<std::size_t>(count)], 0);
  }

  void shift_left(int bits) {
    if (size_ == 0 || bits == 0) return;
    const std::size_t words = static_cast<std::size_t>(bits) / 32;
    const unsigned rest = static_cast<unsigned>(bits) % 32;
    if (rest != 0) {
      std::uint32_t carry = 0;
      for (std::size_t i = 0; i < size_; ++i) {
        const std::uint32_t limb = limbs_[i];
        limbs_[i] = (limb << rest) | carry;
        carry = limb >> (32 - rest);
      }
      if (carry != 0) limbs_[size_++] = carry;
    }
    if (words != 0) {
      std::copy_backward(limbs_.begin(), limbs_.begin() + static_cast<std::ptrdiff_t>(size_),
                         limbs_.begin() + static_cast<std::ptrdiff_t>(size_ + words));
      std::fill_n(limbs_.begin(), words, 0u);
      size_ += words;
    }
  }

  void shift_right_one() {
    for (std::size_t i = 0; i < size_; ++i) {
      const std::uint32_t high = i + 1 < size_ ? limbs_[i + 1] : 0;
      limbs_[i] = (limbs_[i] >> 1) | (high << 31);
    }
    trim();
  }

  // *this -= other, where other <= *this.
  void subtract(const BigNumber& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      const std::int64_t part = std::int64_t{limbs_[i]} - (i < other.size_ ? other.limbs_[i] : 0) - borrow;
      borrow = part < 0 ? 1 : 0;
      limbs_[i] = static_cast<std::uint32_t>(part + (borrow << 32));
    }
    trim();
  }

  int bit_length() const {
    if (size_ == 0) return 0;
    return static_cast<int>(32 * (size_ - 1)) + static_cast<int>(std::bit_width(limbs_[size_ - 1]));
  }

  friend int compare(const BigNumber& a, const BigNumber& b) {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (std::size_t i = a.size_; i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
  }

 private:
  void trim() {
    while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
  }

  std::array<std::uint32_t, 24> limbs_{};
  std::size_t size_ = 0;
};

// floor(log2(n / m)) for positive n and m.
int floor_log2_of_ratio(const BigNumber& n, const BigNumber& m) {
  const int estimate = n.bit_length() - m.bit_length();
  BigNumber scaled_n = n;
  BigNumber scaled_m = m;
  if (estimate >= 0) {
    scaled_m.shift_left(estimate);
  } else {
    scaled_n.shift_left(-estimate);
  }
  return compare(scaled_n, scaled_m) >= 0 ? estimate : estimate - 1;
}

// The nearest float to digits × 10^exponent, where digits[0] is nonzero and
// count <= kept_digits + 1. Exact: the number is a ratio of integers n / m, from
// which the float's 24-bit significand and the remainder are divided out.
float exact_conversion(bool negative, const char* digits, std::size_t count, std::int64_t exponent) {
  const std::int64_t magnitude = static_cast<std::int64_t>(count) + exponent;  // value < 10^magnitude
  if (magnitude > 39) return with_sign(negative, infinity_bits);  // at least 10^39
  if (magnitude < -45) return with_sign(negative, 0);             // below 10^-46 < 2^-150

  BigNumber n;
  for (std::size_t at = 0; at < count;) {
    const std::size_t chunk = std::min<std::size_t>(9, count - at);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < chunk; ++i) value = value * 10 + static_cast<std::uint32_t>(digits[at + i] - '0');
    n.multiply_add(small_powers_of_ten[chunk], value);
    at += chunk;
  }
  BigNumber m(1);
  if (exponent >= 0) {
    n.multiply_power_of_ten(static_cast<int>(exponent));
  } else {
    m.multiply_power_of_ten(static_cast<int>(-exponent));
  }

  const int log2 = floor_log2_of_ratio(n, m);
  if (log2 >= 128) return with_sign(negative, infinity_bits);
  // value = q × 2^scale with q of 24 bits, or fewer for a denormal.
  const int scale = std::max(log2 - 23, -149);
  if (scale < 0) {
    n.shift_left(-scale);
  } else {
    m.shift_left(scale);
  }
  BigNumber divisor = m;
  divisor.shift_left(23);
  std::uint32_t q = 0;
  for (int bit = 23; bit >= 0; --bit) {
    if (compare(n, divisor) >= 0) {
      n.subtract(divisor);
      q |= 1u << bit;
    }
    divisor.shift_right_one();
  }
  // n is now the remainder: compare it with half of m.
  n.shift_left(1);
  const int against_half = compare(n, m);
  if (against_half > 0 || (against_half == 0 && (q & 1u) != 0)) ++q;
  // q carries the hidden bit, so adding the exponent field below it gives the
  // encoding directly; a significand that rounded up to 2^24 carries into it.
  std::uint32_t bits = q + (static_cast<std::uint32_t>(scale + 149) << 23);
  if (bits > infinity_bits) bits = infinity_bits;
  return with_sign(negative, bits);
}

}  // namespace

bool word_decimal_to_float(bool negative, std::uint64_t significand, std::int64_t exponent, float& out) {
  if (exponent < -word_exponent_limit || exponent > word_exponent_limit) return false;
  if (significand == 0) {
    out = with_sign(negative, 0);
    return true;
  }
  if (exponent >= 0) {
    // significand × 5^e × 2^e, the product exact in 128 bits.
    const Uint128 product = Uint128{significand} * powers_of_five[static_cast<std::size_t>(exponent)];
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 64);
    if (high == 0) {
      const std::uint64_t low = static_cast<std::uint64_t>(product);
      const int zeros = std::countl_zero(low);
      out = round_to_float(negative, low << zeros, exponent - zeros, false);
    } else {
      const int zeros = std::countl_zero(high);
      const Uint128 shifted = product << zeros;
      out = round_to_float(negative, static_cast<std::uint64_t>(shifted >> 64), exponent + 64 - zeros,
                       static_cast<std::uint64_t>(shifted) != 0);
    }
    return true;
  }
  const std::int64_t k = -exponent;
  if (k <= 15) {
    out = quotient_to_float(negative, significand, static_cast<int>(k));
    return true;
  }
  // significand / 5^k × 2^-k: the significand, its top bit set and moved 63
  // bits up, divided by the normalized 5^k gives a quotient of 63 or 64 bits,
  // and the remainder tells whether anything is left below it.
  const Divisor& divisor = divisors_by_five[static_cast<std::size_t>(k)];
  const int zeros = std::countl_zero(significand);
  const std::uint64_t normalized = significand << zeros;
  std::uint64_t remainder = 0;
  const std::uint64_t quotient = divide(normalized >> 1, normalized << 63, divisor, remainder);
  const int quotient_zeros = std::countl_zero(quotient);
  out = round_to_float(negative, quotient << quotient_zeros, divisor.shift - zeros - 63 - k - quotient_zeros,
                   remainder != 0);
  return true;
}

float decimal_to_float(bool negative, std::string_view whole, std::string_view fraction,
                       std::int64_t exponent) {
  exponent = std::clamp(exponent, -exponent_limit, exponent_limit);
  exponent -= static_cast<std::int64_t>(fraction.size());

  // Leading zeros, whether before or after the point, do not count as digits.
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.empty())
    while (!fraction.empty() && fraction.front() == '0') fraction.remove_prefix(1);

  if (whole.size() + fraction.size() <= 19) {
    std::uint64_t significand = 0;
    for (char c : whole) significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
    for (char c : fraction) significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
    if (significand == 0) return with_sign(negative, 0);
    if (float value = 0; short_decimal_to_float(negative, significand, exponent, value)) return value;
    if (float value = 0; word_decimal_to_float(negative, significand, exponent, value)) return value;
  }

  std::array<char, kept_digits + 1> kept{};
  std::size_t count = 0;
  std::int64_t dropped = 0;  // significant digits beyond the kept ones
  bool sticky = false;
  auto take = [&](std::string_view part) {
    for (char c : part) {
      if (count == 0 && c == '0') continue;
      if (count < kept_digits) {
        kept[count++] = c;
      } else {
        ++dropped;
        sticky = sticky || c != '0';
      }
    }
  };
  take(whole);
  take(fraction);
  if (count == 0) return with_sign(negative, 0);
  exponent += dropped;
  if (sticky) {
    kept[count++] = '1';
    --exponent;
  }
  return exact_conversion(negative, kept.data(), count, exponent);
}

}  // namespace tamvek
