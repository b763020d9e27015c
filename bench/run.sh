#!/usr/bin/env bash
# Whole-run benchmark on the largest data set: the program's run (the pause
# answered with go) against `LC_ALL=C wc -w` over the same seven input files,
# alternated, median of RUNS runs each, with the program's peak resident memory.
#
#   bench/run.sh [RUNS]        (default 7; needs a RelWithDebInfo build in build/)
set -euo pipefail
runs=${1:-7}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
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
  (cd "$data/work" && TAMVEK_ROOT="$data/root" "$build/tamvek" 2010 <<<go >/dev/null 2>&1)
}
count_words() { LC_ALL=C wc -w "${inputs[@]}" >/dev/null; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

run_program  # warms the page cache and checks the run
program_times=() wc_times=()
for ((i = 0; i < runs; i++)); do
  program_times+=("$(seconds run_program)")
  wc_times+=("$(seconds count_words)")
done
program=$(printf '%s\n' "${program_times[@]}" | median)
words=$(printf '%s\n' "${wc_times[@]}" | median)
peak_kb=$(cd "$data/work" && TAMVEK_ROOT="$data/root" /usr/bin/time -f %M "$build/tamvek" 2010 <<<go 2>&1 >/dev/null | tail -n 1)

echo "input: $(du -cb "${inputs[@]}" | tail -n 1 | cut -f 1) bytes in ${#inputs[@]} files"
echo "tamvek 2010 (median of $runs): $program s"
echo "wc -w       (median of $runs): $words s"
echo "ratio tamvek / wc -w: $(awk -v p="$program" -v w="$words" 'BEGIN { printf "%.2f\n", p / w }')"
echo "peak resident memory of tamvek: $((peak_kb / 1024)) MB ($peak_kb kB)"
