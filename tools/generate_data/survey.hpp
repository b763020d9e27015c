#pragma once

// The land survey that tract keys name. Townships are 6 miles square and count
// northward (township 1 is the southern tier); ranges count eastward (range 1
// is the western column). A township holds 36 one-mile sections numbered back
// and forth from its north-east corner: 1..6 run east to west along the north
// edge, 7..12 west to east below them, and so on down to 31..36 along the south
// edge. A section holds 16 forty-acre tracts numbered the same way: 1..4 east to
// west along its north edge, 5..8 west to east, down to 13..16.
//
// A tract's position is its column from the west edge of range 1 and its row
// from the south edge of township 1, both counted in tracts from 0.

namespace tamvek::generate {

inline constexpr int township_count = 20;
inline constexpr int range_count = 45;
inline constexpr int sections_per_township = 36;
inline constexpr int tracts_per_section = 16;
inline constexpr int tract_feet = 1320;
inline constexpr int section_feet = 5280;
inline constexpr int township_feet = 31680;
inline constexpr int tracts_across_section = 4;
inline constexpr int tracts_across_township = 24;
inline constexpr long tract_key_count =
    long{township_count} * range_count * sections_per_township * tracts_per_section;

struct TractKey {
  int twp = 1, rng = 1, sec = 1, tract = 1;
  friend auto operator<=>(const TractKey&, const TractKey&) = default;
};

struct TractPosition {
  int column = 0, row = 0;
  friend bool operator==(const TractPosition&, const TractPosition&) = default;
};

namespace detail {

// Number (1..6·6 or 1..4·4) of the square at (column from west, row from
// north) in a back-and-forth numbering that starts at the north-east corner.
inline int serpentine_number(int column, int row_from_north, int across) {
  return row_from_north % 2 == 0 ? row_from_north * across + across - column
                                 : row_from_north * across + 1 + column;
}

// Inverse of serpentine_number: {column from west, row from north}.
inline TractPosition serpentine_place(int number, int across) {
  const int row_from_north = (number - 1) / across;
  const int within = (number - 1) % across;
  const int column = row_from_north % 2 == 0 ? across - 1 - within : within;
  return {column, row_from_north};
}

}  // namespace detail

inline TractPosition position_of(const TractKey& key) {
  const TractPosition section = detail::serpentine_place(key.sec, 6);
  const TractPosition tract = detail::serpentine_place(key.tract, tracts_across_section);
  const int column_in_township = section.column * tracts_across_section + tract.column;
  const int row_from_north = section.row * tracts_across_section + tract.row;
  return {(key.rng - 1) * tracts_across_township + column_in_township,
          (key.twp - 1) * tracts_across_township + (tracts_across_township - 1 - row_from_north)};
}

inline TractKey key_at(const TractPosition& position) {
  const int column_in_township = position.column % tracts_across_township;
  const int row_from_north = tracts_across_township - 1 - position.row % tracts_across_township;
  TractKey key;
  key.rng = position.column / tracts_across_township + 1;
  key.twp = position.row / tracts_across_township + 1;
  key.sec = detail::serpentine_number(column_in_township / tracts_across_section,
                                      row_from_north / tracts_across_section, 6);
  key.tract =
      detail::serpentine_number(column_in_township % tracts_across_section,
                                row_from_north % tracts_across_section, tracts_across_section);
  return key;
}

inline bool key_in_bounds(const TractKey& key) {
  return key.twp >= 1 && key.twp <= township_count && key.rng >= 1 && key.rng <= range_count &&
         key.sec >= 1 && key.sec <= sections_per_township && key.tract >= 1 &&
         key.tract <= tracts_per_section;
}

}  // namespace tamvek::generate
