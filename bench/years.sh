#!/usr/bin/env bash
# tamvek-years on 40 years of the largest data set: the years side by side on
# JOBS cores (default 2) against the same years one after another, as the
# shell loop that pipes go into each run (keeping each console in a file)
# does them and as tamvek-years -j 1 does them. Median of RUNS runs each (default 3); target: side by side no
# more than 0.6 x one after another on 2 cores.
#
#   bench/years.sh [RUNS] [JOBS]       (needs a RelWithDebInfo build in build/)
set -euo pipefail
runs=${1:-3}
jobs=${2:-2}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target tamvek tamvek-years generate_data >/dev/null

# One generated year, and 40 years whose yearly files are links to its files:
# each year reads and writes as much as the largest data set makes it.
data=$build/bench-years
first=1971 last=2010
if [[ ! -f $data/work/authacres$first.txt ]]; then
  rm -rf "$data"
  "$build/generate_data" --root "$data/root" --work "$data/work" --year $last --seed 3 \
    --size largest >/dev/null
  for ((year = first; year < last; year++)); do
    ln "$data/work/authacres$last.txt" "$data/work/authacres$year.txt"
    ln "$data/work/tamvek$last.txt" "$data/work/tamvek$year.txt"
  done
fi
export TAMVEK_ROOT=$data/root

seconds() {  # elapsed seconds of a command, to the millisecond
  local start end
  sync  # the previous run's 1.5 GB of output written back first, not during this one
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
shell_loop() {
  (cd "$data/work" && for ((year = first; year <= last; year++)); do
     echo go | "$build/tamvek" $year >"out/console$year.txt" 2>&1
   done)
}
years_one_by_one() { (cd "$data/work" && "$build/tamvek-years" -j 1 $first $last >/dev/null); }
years_side_by_side() { (cd "$data/work" && "$build/tamvek-years" -j "$jobs" $first $last >/dev/null); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

years_side_by_side  # warms the page cache and checks that every year is done
loop_times=() one_times=() side_times=()
for ((i = 0; i < runs; i++)); do
  loop_times+=("$(seconds shell_loop)")
  one_times+=("$(seconds years_one_by_one)")
  side_times+=("$(seconds years_side_by_side)")
done
loop=$(printf '%s\n' "${loop_times[@]}" | median)
one=$(printf '%s\n' "${one_times[@]}" | median)
side=$(printf '%s\n' "${side_times[@]}" | median)

echo "40 years ($first to $last) of the largest data set, $(nproc) cores, median of $runs runs:"
echo "  shell loop, one after another: $loop s"
echo "  tamvek-years -j 1:             $one s"
echo "  tamvek-years -j $jobs:             $side s"
echo "ratio -j $jobs / shell loop: $(awk -v s="$side" -v l="$loop" 'BEGIN { printf "%.2f\n", s / l }') (target <= 0.6)"
echo "ratio -j 1 / shell loop: $(awk -v o="$one" -v l="$loop" 'BEGIN { printf "%.2f\n", o / l }')"
# The floor for side by side: the processor time the years take, over the
# cores. One tamvek alone already keeps more than one core busy (it reads its
# records on a thread of its own), so one after another is faster than that
# time, and the floor lies above half of it.
sync
cpu=$(cd "$data/work" && /usr/bin/time -f '%U %S' "$build/tamvek-years" -j "$jobs" $first $last 2>&1 >/dev/null |
      tail -n 1 | awk '{ printf "%.3f\n", $1 + $2 }')
echo "processor time of the 40 years: $cpu s; no faster than $(awk -v c="$cpu" -v j="$jobs" 'BEGIN { printf "%.3f\n", c / j }') s on $jobs cores"
# Other work on the same cores takes from the years side by side first.
echo "load average at the end: $(cut -d ' ' -f 1-3 /proc/loadavg)"
