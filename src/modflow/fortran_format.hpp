#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamvek::modflow {

// One edit descriptor of a Fortran format as an input statement uses it.
struct EditDescriptor {
  enum class Kind {
    real,         // F, E, ES, EN, D, G: a field of `width` characters
    integer,      // I
    skip,         // nX, TRn: `width` positions on
    back,         // TLn: `width` positions back
    tab,          // Tn: to position `width` (from 1)
    next_record,  // /
    scale,        // kP: `width` holds k
    blank_null,   // BN: blanks in a field are nothing
    blank_zero,   // BZ: blanks in a field are zeros
  };
  Kind kind = Kind::real;
  int width = 0;
  int decimals = 0;
};

// A format with its repeat counts and groups laid out; when its descriptors are
// used up, a read goes on with the next record from `reversion` on: the start
// of the last group of the outer level (with its repeat count), or the start.
struct FortranFormat {
  std::vector<EditDescriptor> items;
  std::size_t reversion = 0;
};

// Reads a format in parentheses of numeric edit descriptors: repeat counts,
// groups, X, T, TL, TR, /, kP, BN, BZ, and sign controls; nothing, with the
// reason in `fault`, for any other (character and logical fields included).
std::optional<FortranFormat> parse_fortran_format(std::string_view text, std::string& fault);

// One field read as a formatted read reads it: blanks are nothing (all blank
// is zero) or zeros with BZ; a decimal point in the field overrides the
// descriptor's decimals; the exponent may be written E+02, D+02, Q+02, or +02;
// a scale factor divides a value written without exponent by 10^k.
bool read_real_field(std::string_view field, int decimals, int scale, bool blank_zero, double& value);
bool read_integer_field(std::string_view field, bool blank_zero, long long& value);

// One READ statement of `values.size()` values by the format over the records
// from `next` on: it begins with record `next` and leaves `next` on the record
// after the last it used. A record shorter than the fields is padded with
// blanks. False with the reason in `fault` (and `next` on the record at
// fault) where a field is no number of its kind or the records end.
bool read_formatted(const FortranFormat& format, std::span<const std::string_view> records,
                    std::size_t& next, std::span<double> values, std::string& fault);

}  // namespace tamvek::modflow
