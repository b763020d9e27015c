#pragma once

#include <cstdint>
#include <string>

#include "runtime/checked_table.hpp"
#include "runtime/io.hpp"
#include "state/kept_acreage.hpp"
#include "state/tract_coordinates_table.hpp"

namespace tamvek {

inline constexpr int max_cells = 400;  // rows and columns of every Cell grid
inline constexpr int n_groups = 3000;  // nGroups, the size of the Group tables

template <class T>
using CellGrid = Table<T, max_cells, max_cells>;  // (icol, irow)
using GroupTable = Table<float, n_groups>;

// The model grid as the parameter file defines it; row 1 is the top row.
struct Grid {
  std::int32_t ny = 0;
  std::int32_t nx = 0;
  float gdx = 0;
  float gdy = 0;
  float xg0 = 0;
  float yg0 = 0;
  float ytop = 0;
};

// Everything one run holds, from the year to the last sum: allocated once, zero
// when the run starts, every table at its full fixed size. Each phase reads what
// earlier phases left here and fills its own part.
struct Run {
  explicit Run(Io& streams) : io(streams) {}
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  Io& io;
  std::string cyear = "    ";  // exactly four characters

  Grid grid;
  std::int32_t nfactors = 0;
  Table<float, 10> swretfactor{"swretfactor"};
  CellGrid<std::int32_t> ibound{"ibound"};
  CellGrid<std::int32_t> icty{"icty"};
  Table<float, 44, 12> xmonfactors{"xmonfactors"};
  TractCoordinates tracts;  // xcoord and ycoord

  GroupTable authtot{"authtot"};
  GroupTable swretloc{"swretloc"};
  GroupTable acresloc{"acresloc"};
  CellGrid<float> swret{"swret"};
  CellGrid<float> acres{"acres"};
  CellGrid<float> work{"work"};

  // Fields of the authorized-acreage records, shared with the tract coordinate
  // reads (the key) and the diversion reads (the group): a field that a read
  // leaves unset keeps what the last read put there.
  std::int32_t grp = 0;
  std::int32_t twp = 0;
  std::int32_t rng = 0;
  std::int32_t sec = 0;
  std::int32_t tract = 0;
  float tacres = 0;
  // The fields above as one authorized-acreage record's, and back.
  AcreageFields acreage_fields() const { return {grp, twp, rng, sec, tract, tacres}; }
  void set_acreage_fields(const AcreageFields& fields) {
    grp = fields.grp, twp = fields.twp, rng = fields.rng, sec = fields.sec;
    tract = fields.tract, tacres = fields.tacres;
  }
  KeptAcreage kept_acreage;  // the first pass's records, for the second

  std::int32_t maxgrp = 0;
  float sumauth = 0;
  float sumdiversion = 0;
  float sumretout = 0;
  float sumacreageout = 0;
  float sumacresout = 0;
};

}  // namespace tamvek
