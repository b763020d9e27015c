#!/usr/bin/env bash
# Whole-run benchmark on the largest data set: the program's run (the pause
# answered with go) against `LC_ALL=C wc -w` over the same seven input files
# and against the run's bare input and output (the I/O floor: every input file
# read with cat, the authorized acreage twice as the run's two passes do, and
# the run's output files written with cat), or against another build of
# tamvek; alternated, median of RUNS runs each, with the peak resident memory.
#
#   bench/run.sh [RUNS [OTHER_TAMVEK]]   (default 7; builds the dev preset in build/)
#
# With OTHER_TAMVEK (a copy of an earlier build, say) the two programs run in
# turn, each first half the time, which evens out a machine whose load drifts;
# the median of each pair's ratio is given beside the ratio of the medians.
set -euo pipefail
runs=${1:-7}
other=${2:-}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build
(cd "$repo" && cmake --preset dev -B "$build" >/dev/null)
cmake --build "$build" -j "$(nproc)" --target tamvek generate_data >/dev/null

data=$build/bench-data
if [[ ! -f $data/work/authacres2010.txt ]]; then
  rm -rf "$data"
  "$build/generate_data" --root "$data/root" --work "$data/work" --year 2010 --seed 3 --size largest
fi
inputs=("$data"/root/BAVO/QZ/static/* "$data/work/authacres2010.txt" "$data/work/tamvek2010.txt")

seconds() {  # elapsed seconds of a command, to the microsecond
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.6f\n", ns / 1e9 }'
}
run_program() {
  (cd "$data/work" && TAMVEK_ROOT="$data/root" "${1:-$build/tamvek}" 2010 <<<go >/dev/null 2>&1)
}
count_words() { LC_ALL=C wc -w "${inputs[@]}" >/dev/null; }
io_floor() {
  cat "${inputs[@]}" "$data/work/authacres2010.txt" >/dev/null
  for file in "$data/floor/written"/*; do cat "$file" >"$data/floor/out/${file##*/}"; done
}
peak_kb() {
  (cd "$data/work" && TAMVEK_ROOT="$data/root" /usr/bin/time -f %M "$1" 2010 <<<go 2>&1 >/dev/null | tail -n 1)
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

run_program  # warms the page cache and checks the run
echo "input: $(du -cb "${inputs[@]}" | tail -n 1 | cut -f 1) bytes in ${#inputs[@]} files"
if [[ -n $other ]]; then
  other=$(realpath "$other")
  run_program "$other"
  this_times=() other_times=()
  for ((i = 0; i < runs; i++)); do
    if ((i % 2 == 0)); then
      this_times+=("$(seconds run_program)") other_times+=("$(seconds run_program "$other")")
    else
      other_times+=("$(seconds run_program "$other")") this_times+=("$(seconds run_program)")
    fi
  done
  this=$(printf '%s\n' "${this_times[@]}" | median)
  that=$(printf '%s\n' "${other_times[@]}" | median)
  echo "tamvek 2010 (median of $runs): $this s, peak $(peak_kb "$build/tamvek") kB"
  echo "$other (median of $runs): $that s, peak $(peak_kb "$other") kB"
  echo "ratio this / other: $(awk -v p="$this" -v w="$that" 'BEGIN { printf "%.3f\n", p / w }')"
  # Each run against its neighbour of the other build: steadier than the ratio
  # of the medians while the machine's speed drifts within the batch.
  pairs=$(paste <(printf '%s\n' "${this_times[@]}") <(printf '%s\n' "${other_times[@]}") |
    awk '{ print $1 / $2 }' | median)
  echo "median of the pairs' ratios: $(awk -v r="$pairs" 'BEGIN { printf "%.3f\n", r }')"
  exit 0
fi
rm -rf "$data/floor" && mkdir -p "$data/floor/out" && cp -r "$data/work/out" "$data/floor/written"
io_floor
program_times=() wc_times=() floor_times=()
for ((i = 0; i < runs; i++)); do
  program_times+=("$(seconds run_program)")
  wc_times+=("$(seconds count_words)")
  floor_times+=("$(seconds io_floor)")
done
program=$(printf '%s\n' "${program_times[@]}" | median)
words=$(printf '%s\n' "${wc_times[@]}" | median)
floor=$(printf '%s\n' "${floor_times[@]}" | median)
peak=$(peak_kb "$build/tamvek")

echo "tamvek 2010 (median of $runs): $program s"
echo "wc -w       (median of $runs): $words s"
echo "I/O floor   (median of $runs): $floor s"
echo "ratio tamvek / wc -w: $(awk -v p="$program" -v w="$words" 'BEGIN { printf "%.2f\n", p / w }')"
echo "ratio tamvek / I/O floor: $(awk -v p="$program" -v f="$floor" 'BEGIN { printf "%.2f\n", p / f }')"
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo "peak resident memory of tamvek: $((peak / 1024)) MB ($peak kB)"
