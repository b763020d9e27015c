#!/usr/bin/env bash
# tamvek-modflow on 40 years of a 400 x 400 grid into a MODFLOW 6 model with
# monthly stress periods (480): median time of RUNS runs and peak resident
# memory, against the bounds of 3 s and 64 MB; the same with --copy-arrays
# (5 s, 64 MB), --verify of the package with copies (3 s), and --regrid onto a
# rotated 1,000 x 1,000 grid of varying spacing (bench/regrid_model.py; 10 s,
# 512 MB), whose model must not slow the export onto tamvek's own grid. One year of the
# largest data set is run by tamvek and its results stand for each of the 40
# years.
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
  (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek-modflow" 2010 2049 "$model" --volume-unit acre-feet "$@" >/dev/null)
}
verify_package() {
  (cd / && "$build/tamvek-modflow" --verify "$model" >/dev/null)
}
seconds() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
median_of() {
  local times=() i
  for ((i = 0; i < runs; i++)); do times+=("$(seconds "$@")"); done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
peak_kb_of() {
  (cd "$work" && TAMVEK_ROOT="$data/root" /usr/bin/time -f %M "$build/tamvek-modflow" "$@" 2>&1 >/dev/null | tail -n 1)
}
within() {  # label seconds bound_s peak_kb bound_mb
  echo "$1: $2 s (bound $3 s)${4:+, peak resident memory $(($4 / 1024)) MB ($4 kB; bound $5 MB)}"
  awk -v t="$2" -v b="$3" -v m="${4:-0}" -v mb="${5:-0}" 'BEGIN { exit !(t < b && m < mb * 1024 + (mb == 0)) }' ||
    { echo "over a bound" >&2; failed=1; }
}
failed=0

echo "input: 240 arrays of 400 x 400, $(du -cb "$work"/out/*.rcs | tail -n 1 | cut -f 1) bytes; 480 monthly periods"
export_package  # checks the run and warms the page cache
within "tamvek-modflow 2010 2049 (median of $runs)" "$(median_of export_package)" 3 \
  "$(peak_kb_of 2010 2049 "$model" --volume-unit acre-feet)" 64
rm -rf "$model/tamvek arrays"
export_package --copy-arrays "tamvek arrays"
within "with --copy-arrays (median of $runs)" "$(median_of export_package --copy-arrays "tamvek arrays")" 5 \
  "$(peak_kb_of 2010 2049 "$model" --volume-unit acre-feet --copy-arrays "tamvek arrays")" 64
echo "copies: $(du -sb "$model/tamvek arrays" | cut -f 1) bytes; package $(stat -c %s "$model/tamvek.rch") bytes"
within "--verify of it (median of $runs)" "$(median_of verify_package)" 3 "$(peak_kb_of --verify "$model")" 64
export_package  # the copies go again

regridded=$data/model-regrid
python3 "$repo/bench/regrid_model.py" "$data/root/BAVO/QZ/static/tamvek.par" "$model" "$regridded"
export_regridded() {
  (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek-modflow" 2010 2049 "$regridded" --volume-unit acre-feet --regrid >/dev/null)
}
export_regridded
within "--regrid onto 1,000 x 1,000 rotated (median of $runs)" "$(median_of export_regridded)" 10 \
  "$(peak_kb_of 2010 2049 "$regridded" --volume-unit acre-feet --regrid)" 512
echo "regridded arrays: $(du -cb "$regridded"/tamvek.rch* | tail -n 1 | cut -f 1) bytes"
exit $failed
