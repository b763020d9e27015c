#!/usr/bin/env bash
# Series benchmark: YEARS years (default 40, from 1981) of tamvek runs in one
# working directory on one set of static files (the largest generated data set,
# a 400 x 400 grid), then `tamvek-report FIRST LAST` timed over RUNS runs with
# its peak resident memory, the size of its page, and the time the page takes
# in headless Chromium until it has drawn its maps.
#
#   bench/series.sh [RUNS] [YEARS] [SIZE]     (default 5 40 largest; a RelWithDebInfo build in build/)
#
# Each year's diversions are the generated ones with every amount scaled by a
# factor of the year and of the group, and a tenth of the records left out, so
# that the years differ as real years do. With SERIES_PICTURE=PNG it also makes
# a picture of the page; the years then include one without results and one
# whose diversion file is empty, as the page shows them.
set -euo pipefail
runs=${1:-5}
years=${2:-40}
size=${3:-largest}
first=1981
last=$((first + years - 1))
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target tamvek tamvek-report generate_data >/dev/null

data=$build/bench-series-$size-$years${SERIES_PICTURE:+-picture}
work=$data/work
if [[ ! -f $work/out/check$last.out ]]; then
  rm -rf "$data"
  "$build/generate_data" --root "$data/root" --work "$data/generated" --year 2000 --seed 5 --size "$size" >/dev/null
  mkdir -p "$work/out"
  for ((year = first; year <= last; year++)); do
    cp "$data/generated/authacres2000.txt" "$work/authacres$year.txt"
    awk -v seed="$year" 'BEGIN { srand(seed); year_factor = 0.5 + rand() }
      { if (!($1 in group)) group[$1] = 0.7 + 0.6 * rand() }
      rand() < 0.1 { next }
      { $3 = sprintf("%.2f", $3 * year_factor * group[$1]); print }' \
      "$data/generated/tamvek2000.txt" >"$work/tamvek$year.txt"
    if [[ -n ${SERIES_PICTURE:-} && $year == $((first + years / 2)) ]]; then : >"$work/tamvek$year.txt"; fi
    if [[ -n ${SERIES_PICTURE:-} && $year == $((first + years / 3)) ]]; then continue; fi
    (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek" "$year" <<<go >/dev/null 2>&1)
  done
fi

seconds() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
report() { (cd "$work" && TAMVEK_ROOT="$data/root" "$build/tamvek-report" "$first" "$last" >/dev/null); }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

report  # warms the page cache and checks the run
times=()
for ((i = 0; i < runs; i++)); do times+=("$(seconds report)"); done
# Peak memory and processor time: on a machine that others share, the time on
# the clock says less than the time the program took of its processors.
read -r peak_kb user_s system_s < <(cd "$work" && TAMVEK_ROOT="$data/root" /usr/bin/time -f "%M %U %S" \
  "$build/tamvek-report" "$first" "$last" 2>&1 >/dev/null | tail -n 1)
page=$work/out/report$first-$last.html
echo "input: $(du -cb "$work"/out/*.rcs "$work"/out/*.asw "$work"/out/check*.out "$work"/out/output*.dat | tail -n 1 | cut -f 1) bytes of results, $years years"
echo "tamvek-report $first $last (median of $runs): $(printf '%s\n' "${times[@]}" | median) s"
echo "processor time of one run: $user_s s user, $system_s s system (load average $(cut -d ' ' -f 1 /proc/loadavg))"
echo "peak resident memory: $((peak_kb / 1024)) MB ($peak_kb kB)"
echo "page: $(stat -c %s "$page") bytes; ledger: $(stat -c %s "$work/out/ledger$first-$last.csv") bytes"

browser=/usr/bin/chromium-headless-shell
if [[ -x $browser ]]; then
  profile=$(mktemp -d)
  trap 'rm -rf "$profile"' EXIT
  dom=$("$browser" --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --window-size=1400,1000 \
    --virtual-time-budget=30000 --dump-dom "file://$page" 2>/dev/null)
  ready=$(sed -n 's/.*<html[^>]* data-ready="\([0-9]*\)".*/\1/p' <<<"$dom" | head -n 1)
  ready_ms=$(sed -n 's/.*<html[^>]* data-ready-ms="\([0-9.]*\)".*/\1/p' <<<"$dom" | head -n 1)
  echo "page in headless Chromium: ${ready:-no} years drawn, ready after ${ready_ms:-?} ms"
fi
if [[ -n ${SERIES_PICTURE:-} ]]; then
  "$repo/tools/report-screenshot.sh" "$page" "$SERIES_PICTURE" "year=$((first + 2))&cell=${SERIES_CELL:-2}" 1400x2400
fi
