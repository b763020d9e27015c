#!/usr/bin/env bash
# Runs SCRIPT (flopy_conservation_test.py if none given) with a Python that has numpy, pandas and
# the MODULES named (comma-separated, e.g. shapely), and flopy:
# an installed one, or the copy in FLOPY_ARCHIVE unpacked into the scratch
# folder. Without them the test is skipped (status 77) with its reason, unless
# TAMVEK_REQUIRE_FLOPY is set (as in CI), where a skip would hide a fault.
#
#   flopy_test.sh BUILD_DIR SCRATCH_DIR [FLOPY_ARCHIVE [SCRIPT [MODULES]]]
set -uo pipefail
build=$1 scratch=$2 archive=${3:-} script=${4:-flopy_conservation_test.py} modules=${5:-}
skip=77
[[ -n ${TAMVEK_REQUIRE_FLOPY:-} ]] && skip=1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

python=
for candidate in python3 /usr/bin/python3; do
  if command -v "$candidate" >/dev/null && "$candidate" -c "import numpy, pandas${modules:+, $modules}" 2>/dev/null; then
    python=$candidate
    break
  fi
done
if [[ -z $python ]]; then
  echo "skipped: no python3 with numpy, pandas${modules:+, $modules} (apt-get install python3-numpy python3-pandas python3-matplotlib${modules:+ python3-$modules})"
  exit $skip
fi
if ! "$python" -c 'import flopy' 2>/dev/null; then
  if [[ -z $archive || ! -f $archive ]]; then
    echo "skipped: flopy is not installed and its archive (${archive:-none given}) is not there"
    exit $skip
  fi
  mkdir -p "$scratch.flopy"
  tar -xJf "$archive" -C "$scratch.flopy" || exit 1
  export PYTHONPATH=$(ls -d "$scratch.flopy"/flopy-*)${PYTHONPATH:+:$PYTHONPATH}
fi
exec "$python" "$here/$script" "$build" "$scratch"
