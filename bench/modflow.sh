#!/usr/bin/env bash
# tamvek-modflow on 40 years of a 400 x 400 grid into a MODFLOW 6 model with
# monthly stress periods (480): median time of RUNS runs and peak resident
# memory, against the bounds of 3 s and 64 MB. One year of the largest data set
# is run by tamvek and its results stand for each of the 40 years.
#
#   bench/modflow.sh [RUNS]        (default 5; builds RelWithDebInfo in build/)
set -euo pipefail
runs=${1:-5}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target tamvek tamvek-modflow generate_data >/dev/null

data=$build/bench-modflow
work=$data/work
if [[ ! -f $work/out/check2049.out ]]; then
  rm -rf "$data"
  "$build/generate_data" --root "$data/root" --work "$work" --year 2010 --seed 3 --size largest >/dev/null
  (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek" 2010 <<<go >/dev/null 2>&1)
  for ((year = 2011; year <= 2049; year++)); do
    for month in 05 06 07 08 09 10; do cp "$work/out/2010.$month.rcs" "$work/out/$year.$month.rcs"; done
    sed "s/2010\./$year./" "$work/out/check2010.out" >"$work/out/check$year.out"
  done
fi

model=$data/model
mkdir -p "$model"
read -r gdx _ < <(sed -n 2p "$data/root/BAVO/QZ/static/tamvek.par")
read -r xg0 yg0 < <(sed -n 3p "$data/root/BAVO/QZ/static/tamvek.par")
printf 'BEGIN TIMING\n  TDIS6 sim.tdis\nEND TIMING\nBEGIN MODELS\n  GWF6 gwf.nam gwf\nEND MODELS\n' >"$model/mfsim.nam"
{
  printf 'BEGIN OPTIONS\n  TIME_UNITS days\n  START_DATE_TIME 2010-01-01\nEND OPTIONS\n'
  printf 'BEGIN DIMENSIONS\n  NPER 480\nEND DIMENSIONS\nBEGIN PERIODDATA\n'
  for ((year = 2010; year <= 2049; year++)); do
    for month in 1 2 3 4 5 6 7 8 9 10 11 12; do
      printf '  %d 1 1.0\n' "$(date -u -d "$year-$month-01 +1 month -1 day" +%-d)"
    done
  done
  printf 'END PERIODDATA\n'
} >"$model/sim.tdis"
printf 'BEGIN PACKAGES\n  DIS6 gwf.dis\nEND PACKAGES\n' >"$model/gwf.nam"
printf 'BEGIN OPTIONS\n  LENGTH_UNITS feet\n  XORIGIN %s\n  YORIGIN %s\nEND OPTIONS\nBEGIN DIMENSIONS\n  NLAY 1\n  NROW 400\n  NCOL 400\nEND DIMENSIONS\nBEGIN GRIDDATA\n  DELR\n    CONSTANT %s\n  DELC\n    CONSTANT %s\n  TOP\n    CONSTANT 100\n  BOTM\n    CONSTANT 0\nEND GRIDDATA\n' \
  "$xg0" "$yg0" "$gdx" "$gdx" >"$model/gwf.dis"

export_package() {
  (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek-modflow" 2010 2049 "$model" --volume-unit acre-feet >/dev/null)
}
seconds() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
export_package  # checks the run and warms the page cache
times=()
for ((i = 0; i < runs; i++)); do times+=("$(seconds export_package)"); done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
peak_kb=$(cd "$work" && TAMVEK_ROOT="$data/root" /usr/bin/time -f %M "$build/tamvek-modflow" 2010 2049 "$model" --volume-unit acre-feet 2>&1 >/dev/null | tail -n 1)

echo "input: 240 arrays of 400 x 400, $(du -cb "$work"/out/*.rcs | tail -n 1 | cut -f 1) bytes; 480 monthly periods"
echo "tamvek-modflow 2010 2049 (median of $runs): $median s (bound 3 s)"
echo "peak resident memory: $((peak_kb / 1024)) MB ($peak_kb kB; bound 64 MB)"
awk -v t="$median" -v m="$peak_kb" 'BEGIN { exit !(t < 3 && m < 64 * 1024) }' || { echo "over a bound" >&2; exit 1; }
