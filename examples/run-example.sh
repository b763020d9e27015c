#!/usr/bin/env bash
# Runs tamvek on the bundled example data set for the year 2010.
#
#   examples/run-example.sh BINARY
#
# The yearly files are copied to scratch/example/ in the repository (a fresh
# working directory with an empty out/ on every run); the static files are
# read in place from examples/root/, which the program takes for the root of
# the drive. The operator pause is answered with go. Afterwards the script
# lists the output files and shows the check report. It exits with the
# program's status if that is not 0, and with 1 if the run left no check
# report.
#
# The data set was made with
#   generate_data --root examples/root --work examples/work --year 2010 --seed 2010 --size example
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BINARY" >&2
  exit 64
fi

year=2010
examples=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$examples")
# The binary is named relative to where the script was called from.
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
if [[ ! -x $binary ]]; then
  echo "$0: no program at $1 (build it first, e.g. make build)" >&2
  exit 66
fi

workdir=$repo/scratch/example
rm -rf "$workdir"
mkdir -p "$workdir/out"
cp "$examples/work/authacres$year.txt" "$examples/work/tamvek$year.txt" "$workdir/"

echo "== tamvek $year in $workdir"
status=0
(cd "$workdir" && TAMVEK_ROOT="$examples/root" "$binary" "$year" <<<go) || status=$?

echo
echo "== output files in $workdir/out"
ls -l "$workdir/out"

if [[ $status -ne 0 ]]; then
  echo "$0: tamvek ended with status $status" >&2
  exit "$status"
fi
check=$workdir/out/check$year.out
if [[ ! -f $check ]]; then
  echo "$0: the run wrote no check report ($check)" >&2
  exit 1
fi
echo
echo "== check report $check"
cat "$check"
