#!/usr/bin/env bash
# Runs the Linux program and the Windows program (under Wine) on the same
# inputs, case by case, and compares what each run leaves: every file of its
# working directory, its standard output, its standard error and its exit
# status, byte for byte. Names each case and each difference; exits 1 if any.
#
#   tests/windows/compare_runs.sh LINUX_BUILD WINDOWS_BUILD
#
# LINUX_BUILD holds tamvek and generate_data, WINDOWS_BUILD tamvek.exe.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 LINUX_BUILD WINDOWS_BUILD" >&2
  exit 64
fi
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
linux=$(cd "$1" && pwd)/tamvek
generator=$(cd "$1" && pwd)/generate_data
windows=$(cd "$2" && pwd)/tamvek.exe
for program in "$linux" "$generator" "$windows"; do
  [[ -f $program ]] || { echo "$0: $program is missing; build it first" >&2; exit 66; }
done
export WINEDEBUG=-all

cases=$(mktemp -d)
trap 'rm -rf "$cases"' EXIT
# Wine's first start in a new prefix sets the prefix up and says so on
# standard error; that start is not one of the runs compared.
wine "$windows" </dev/null >/dev/null 2>&1 || true
# The Windows program is given the Windows form of its root.
windows_cases=$(winepath -w "$cases")

failures=0

# One run of a program in a copy of the case's inputs:
#   run SIDE COMMAND... with the case's directory in $case, its answer in $case/answer.
run() {
  local side=$1 root
  shift
  cp -a "$case/inputs" "$case/$side"
  if [[ $side == windows ]]; then
    root="$windows_cases\\$(basename "$case")\\windows\\root"
  else
    root=$case/linux/root
  fi
  # Standard output goes on after what $case/stdout.before holds, when there is one.
  local status=0
  if [[ -f $case/stdout.before ]]; then cp "$case/stdout.before" "$case/$side.stdout"; else : >"$case/$side.stdout"; fi
  (cd "$case/$side/work" && TAMVEK_ROOT=$root "$@" <"$case/answer" \
     >>"$case/$side.stdout" 2>"$case/$side.stderr") || status=$?
  echo "$status" >"$case/$side.status"
}

# compare NAME ANSWER ARGUMENT...: the case's inputs are in $cases/NAME/inputs.
compare() {
  local name=$1 answer=$2
  shift 2
  case=$cases/$name
  printf '%b' "$answer" >"$case/answer"
  run linux "$linux" "$@"
  run windows wine "$windows" "$@"
  local differences=()
  for stream in stdout stderr status; do
    cmp -s "$case/linux.$stream" "$case/windows.$stream" || differences+=("$stream")
  done
  # Every file the runs left, the output files above all, and none missing on either side.
  local file
  while IFS= read -r file; do
    cmp -s "$case/linux/$file" "$case/windows/$file" || differences+=("$file")
  done < <( (cd "$case/linux" && find . -type f; cd "$case/windows" && find . -type f) | sort -u)
  if [[ ${#differences[@]} -eq 0 ]]; then
    echo "same   $name (status $(cat "$case/linux.status"))"
  else
    echo "DIFFER $name: ${differences[*]}"
    for stream in stdout stderr status; do
      if [[ " ${differences[*]} " == *" $stream "* ]]; then
        cmp "$case/linux.$stream" "$case/windows.$stream" || true
      fi
    done
    failures=$((failures + 1))
  fi
}

# new_case NAME: an empty case; example_case NAME: the example year 2010.
new_case() {
  mkdir -p "$cases/$1/inputs/work" "$cases/$1/inputs/root"
  echo "$cases/$1/inputs"
}
example_case() {
  local inputs
  inputs=$(new_case "$1")
  cp -a "$repo/examples/root/." "$inputs/root/"
  cp -a "$repo/examples/work/." "$inputs/work/"
  mkdir -p "$inputs/work/out"
  echo "$inputs"
}

example_case example >/dev/null
compare example 'go\n' 2010

new_case usage >/dev/null
compare usage '' 

example_case other-answer >/dev/null
compare other-answer 'GO\n' 2010

example_case go-crlf >/dev/null
compare go-crlf 'go\r\n' 2010

example_case stdout-appended >/dev/null
echo "an earlier line" >"$cases/stdout-appended/stdout.before"
compare stdout-appended 'go\n' 2010

inputs=$(example_case missing-out)
rm -r "$inputs/work/out"
compare missing-out 'go\n' 2010

inputs=$(example_case bad-value)
sed -i '3s/^\([0-9]*\) \([0-9]*\) [0-9.]*/\1 \2 4.5.6/' "$inputs/work/tamvek2010.txt"
compare bad-value 'go\n' 2010

inputs=$(example_case short-year)
mv "$inputs/work/authacres2010.txt" "$inputs/work/authacres99  .txt"
mv "$inputs/work/tamvek2010.txt" "$inputs/work/tamvek99  .txt"
compare short-year 'go\n' 99

inputs=$(new_case generated-small)
"$generator" --root "$inputs/root" --work "$inputs/work" --year 2010 --seed 11 --size small \
  >/dev/null
compare generated-small 'go\n' 2010

inputs=$(new_case generated-largest-crlf)
"$generator" --root "$inputs/root" --work "$inputs/work" --year 2010 --seed 29 --size largest \
  --crlf >/dev/null
compare generated-largest-crlf 'go\n' 2010

if [[ $failures -gt 0 ]]; then
  echo "$0: $failures case(s) differ between the Linux and the Windows program" >&2
  exit 1
fi
