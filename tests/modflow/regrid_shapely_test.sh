#!/usr/bin/env bash
# Runs regrid_shapely_test.py with a Python that has shapely. Without one the
# test is skipped (status 77) with its reason, unless TAMVEK_REQUIRE_FLOPY is
# set (as in CI, where the Python tests must run).
#
#   regrid_shapely_test.sh OVERLAP_TABLE_DUMP
set -uo pipefail
skip=77
[[ -n ${TAMVEK_REQUIRE_FLOPY:-} ]] && skip=1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for candidate in python3 /usr/bin/python3; do
  if command -v "$candidate" >/dev/null && "$candidate" -c 'import shapely, numpy' 2>/dev/null; then
    exec "$candidate" "$here/regrid_shapely_test.py" "$1"
  fi
done
echo "skipped: no python3 with shapely and numpy (apt-get install python3-shapely python3-numpy)"
exit $skip
