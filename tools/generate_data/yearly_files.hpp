#pragma once

// The two yearly files: authorized acreage by group and tract, and diversions
// by group.
//
// Group numbers 1..groups play one of four roles. Most groups are authorized
// on tracts and divert. About one number in a hundred is left out of the
// authorized-acreage file: half of those divert anyway (their return cannot be
// placed), half do nothing at all. About one authorized group in a hundred has
// no diversion this year. Groups 1 and `groups` are always authorized, so the
// largest group number is `groups`.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <vector>

#include "layout.hpp"
#include "options.hpp"
#include "random.hpp"
#include "record_writer.hpp"
#include "static_files.hpp"
#include "survey.hpp"

namespace tamvek::generate {

enum class Role { authorized, authorized_without_diversion, diversion_only, unused };

struct GroupPlan {
  std::vector<Role> role;                // by group number; entry 0 unused
  std::vector<std::int64_t> authorized;  // authorized acres in hundredths, by group number
  long stray_records = 0;                // records on a tract far from the group's own

  int count(Role wanted) const {
    return static_cast<int>(std::count(role.begin() + 1, role.end(), wanted));
  }
  bool has_authorized_acres(int group) const {
    const Role r = role[static_cast<std::size_t>(group)];
    return r == Role::authorized || r == Role::authorized_without_diversion;
  }
};

namespace detail {

inline std::vector<int> shuffled(std::vector<int> values, Random& random) {
  for (std::size_t i = values.size(); i > 1; --i) std::swap(values[i - 1], values[random.below(i)]);
  return values;
}

// Splits `total` items over entries with the given weights: one each first,
// the rest drawn one at a time in proportion to weight.
inline std::vector<long> spread(long total, const std::vector<double>& weights, Random& random) {
  std::vector<long> counts(weights.size(), 1);
  std::vector<double> cumulative(weights.size());
  std::partial_sum(weights.begin(), weights.end(), cumulative.begin());
  for (long left = total - static_cast<long>(weights.size()); left > 0; --left) {
    const double target = random.unit() * cumulative.back();
    const auto at = std::upper_bound(cumulative.begin(), cumulative.end(), target);
    ++counts[static_cast<std::size_t>(std::min<std::ptrdiff_t>(
        at - cumulative.begin(), static_cast<std::ptrdiff_t>(weights.size()) - 1))];
  }
  return counts;
}

inline int weighted_system_type(int nfactors, Random& random) {
  int total = 0;
  for (int i = 0; i < nfactors; ++i) total += system_type_weights[static_cast<std::size_t>(i)];
  int pick = static_cast<int>(random.below(static_cast<std::uint64_t>(total)));
  for (int i = 0; i < nfactors; ++i) {
    pick -= system_type_weights[static_cast<std::size_t>(i)];
    if (pick < 0) return i;
  }
  return 0;
}

// Authorized acres of one tract record, in hundredths: mostly a whole
// forty, else a quarter of one or more, an irregular tract near forty acres,
// or a part of a tract.
inline std::int64_t tract_acres(Random& random) {
  const double kind = random.unit();
  if (kind < 0.70) return 4000;
  if (kind < 0.80) return 1000 * random.between(1, 3);
  if (kind < 0.90) return random.between(3700, 4150);
  if (kind < 0.95) return 50 * random.between(2, 79);
  return random.between(100, 3999);
}

inline int coordinate_between(double low, double high, Random& random) {
  const double at = low + (high - low) * random.unit();
  return static_cast<int>(std::floor(at));
}

}  // namespace detail

inline GroupPlan plan_groups(const Options& options, Random& random) {
  GroupPlan plan;
  const auto numbers = static_cast<std::size_t>(options.groups) + 1;
  plan.role.assign(numbers, Role::authorized);
  plan.authorized.assign(numbers, 0);
  if (options.groups < 4) return plan;
  std::vector<int> inner(static_cast<std::size_t>(options.groups - 2));
  std::iota(inner.begin(), inner.end(), 2);
  inner = detail::shuffled(std::move(inner), random);
  const auto left_out = static_cast<std::size_t>(std::max(2, options.groups / 100));
  const auto without_diversion = static_cast<std::size_t>(std::max(1, options.groups / 100));
  std::size_t next = 0;
  for (std::size_t i = 0; i < left_out && next < inner.size(); ++i, ++next)
    plan.role[static_cast<std::size_t>(inner[next])] =
        i % 2 == 0 ? Role::diversion_only : Role::unused;
  for (std::size_t i = 0; i < without_diversion && next < inner.size(); ++i, ++next)
    plan.role[static_cast<std::size_t>(inner[next])] = Role::authorized_without_diversion;
  return plan;
}

// Each group is a district of tracts around a centre, most centres on active
// cells of the grid and some anywhere on the surveyed block; its tracts are drawn without
// repeats from a square around the centre that holds about 2.5 times as many
// tracts as the group has records, and are listed in key order. One record in
// 500 names a tract anywhere in the survey instead, which often has no
// coordinate record or lies off the grid.
inline long write_authorized_acreage(const std::filesystem::path& path, const Options& options,
                                     const Layout& layout, const CellGrids& grids, GroupPlan& plan,
                                     Random& random) {
  std::vector<int> groups;
  std::vector<double> weights;
  for (int group = 1; group <= options.groups; ++group) {
    if (!plan.has_authorized_acres(group)) continue;
    groups.push_back(group);
    weights.push_back(1 / (0.05 + random.unit()));  // a few large districts, many small
  }
  const std::vector<long> counts = detail::spread(options.auth_records, weights, random);

  const int west = layout.block_west(), east = layout.block_east();
  const int south = layout.block_south(), north = layout.block_north();
  const double on_grid_west = std::max<double>(west, layout.grid_west);
  const double on_grid_east = std::min<double>(east, layout.grid_east);
  const double on_grid_south = std::max<double>(south, layout.grid_south);
  const double on_grid_north = std::min<double>(north, layout.grid_north);

  RecordWriter out(path, options.crlf);
  std::vector<char> taken;
  std::vector<TractKey> keys;
  long records = 0;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const long count = counts[g];
    TractPosition centre;
    if (random.chance(0.9)) {
      for (int attempt = 0; attempt < 8; ++attempt) {
        centre = {detail::coordinate_between(on_grid_west, on_grid_east, random),
                  detail::coordinate_between(on_grid_south, on_grid_north, random)};
        if (grids.active_at(layout, centre)) break;
      }
    } else {
      centre = {detail::coordinate_between(west, east, random),
                detail::coordinate_between(south, north, random)};
    }
    const int centre_column = centre.column, centre_row = centre.row;
    int side = static_cast<int>(std::ceil(std::sqrt(2.5 * static_cast<double>(count))));
    const int side_columns = std::min(side, east - west), side_rows = std::min(side, north - south);
    const int first_column =
        std::clamp(centre_column - side_columns / 2, west, east - side_columns);
    const int first_row = std::clamp(centre_row - side_rows / 2, south, north - side_rows);
    const long square = long{side_columns} * side_rows;
    const bool distinct = count <= square;
    taken.assign(static_cast<std::size_t>(square), 0);
    keys.clear();
    for (long i = 0; i < count; ++i) {
      long cell;
      do {
        cell = static_cast<long>(random.below(static_cast<std::uint64_t>(square)));
      } while (distinct && taken[static_cast<std::size_t>(cell)] != 0);
      taken[static_cast<std::size_t>(cell)] = 1;
      keys.push_back(key_at({first_column + static_cast<int>(cell % side_columns),
                             first_row + static_cast<int>(cell / side_columns)}));
    }
    std::sort(keys.begin(), keys.end());
    for (TractKey key : keys) {
      if (random.chance(0.002)) {
        key = {static_cast<int>(random.between(1, township_count)),
               static_cast<int>(random.between(1, range_count)),
               static_cast<int>(random.between(1, sections_per_township)),
               static_cast<int>(random.between(1, tracts_per_section))};
        ++plan.stray_records;
      }
      const std::int64_t acres = detail::tract_acres(random);
      plan.authorized[static_cast<std::size_t>(groups[g])] += acres;
      out.field(groups[g]);
      out.field(key.twp);
      out.field(key.rng);
      out.field(key.sec);
      out.field(key.tract);
      out.trimmed(acres, 2);
      out.end_record();
      ++records;
    }
  }
  out.close();
  return records;
}

// Each diverting group has one or more diversion records (headgates), more
// for groups with more acres. A group irrigates 55..100 % of its authorized
// acres (a group without any, 40..2000 acres), split over its records; each
// record diverts 1.5..4.5 acre-feet per acre, or nothing in one case in 30.
// A group mostly uses one system type. `pdiv` is the headgate's structure id.
inline long write_diversions(const std::filesystem::path& path, const Options& options,
                             const GroupPlan& plan, Random& random) {
  std::vector<int> groups;
  std::vector<double> weights;
  for (int group = 1; group <= options.groups; ++group) {
    const Role role = plan.role[static_cast<std::size_t>(group)];
    if (role == Role::authorized) {
      groups.push_back(group);
      weights.push_back(static_cast<double>(plan.authorized[static_cast<std::size_t>(group)]));
    } else if (role == Role::diversion_only) {
      groups.push_back(group);
      weights.push_back(50'000);  // as a group of 500 acres
    }
  }
  std::vector<long> counts(groups.size(), 0);
  if (options.diversions >= static_cast<long>(groups.size())) {
    counts = detail::spread(options.diversions, weights, random);
  } else {
    std::vector<int> order(groups.size());
    std::iota(order.begin(), order.end(), 0);
    order = detail::shuffled(std::move(order), random);
    for (long i = 0; i < options.diversions; ++i)
      counts[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = 1;
  }

  RecordWriter out(path, options.crlf);
  long records = 0;
  std::vector<std::int64_t> shares;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (counts[g] == 0) continue;
    const std::int64_t authorized = plan.authorized[static_cast<std::size_t>(groups[g])];
    const std::int64_t irrigated = authorized > 0 ? authorized * random.between(55, 100) / 100
                                                  : 100 * random.between(40, 2000);
    const int usual_type = detail::weighted_system_type(options.nfactors, random);
    const long long district = random.between(10, 80);
    shares.assign(static_cast<std::size_t>(counts[g]), 0);
    std::int64_t share_total = 0;
    for (auto& share : shares) share_total += share = random.between(1, 10);
    for (const std::int64_t share : shares) {
      const std::int64_t acloc = irrigated * share / share_total;
      const std::int64_t duty = random.between(150, 450);  // hundredths of a foot
      const std::int64_t diversion = random.chance(1.0 / 30) ? 0 : acloc * duty / 100;
      const int type =
          random.chance(0.75) ? usual_type : detail::weighted_system_type(options.nfactors, random);
      out.field(groups[g]);
      out.field(district * 1000 + random.between(1, 999));
      out.fixed(diversion, 2);
      out.fixed(acloc, 2);
      out.field(type);
      out.end_record();
      ++records;
    }
  }
  out.close();
  return records;
}

}  // namespace tamvek::generate
