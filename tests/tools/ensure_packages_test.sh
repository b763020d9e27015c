#!/usr/bin/env bash
# tools/ensure-packages.sh with dpkg-query, id and apt-get stood in for: the
# packages named in MISSING are not installed, UID is the user's id, and
# apt-get logs its arguments (and fails when APT_FAILS is set).
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/tools/ensure-packages.sh
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/dpkg-query" <<'EOF'
#!/bin/bash
for word in $MISSING; do [[ $word == "${!#}" ]] && exit 1; done
echo "install ok installed"
EOF
cat >"$fake/id" <<'EOF'
#!/bin/bash
echo "$UID_SEEN"
EOF
cat >"$fake/apt-get" <<'EOF'
#!/bin/bash
echo "$*" >>"$APT_LOG"
[[ -z ${APT_FAILS:-} || $1 == update ]]
EOF
chmod +x "$fake"/*
failures=0

# expect NAME STATUS APT_CALLS STDERR_LINE -- ARGUMENT: runs the script and
# checks its status, apt-get's calls (joined by |) and one line of its errors.
expect() {
  local name=$1 want_status=$2 want_apt=$3 want_line=$4 target=$6
  : >"$fake/apt.log"
  local err status
  err=$(PATH="$fake:$PATH" APT_LOG="$fake/apt.log" "$script" "$target" 2>&1 >/dev/null)
  status=$?
  local apt
  apt=$(paste -sd'|' "$fake/apt.log")
  if [[ $status != "$want_status" || $apt != "$want_apt" ]] ||
     [[ -n $want_line && $'\n'$err$'\n' != *$'\n'"$want_line"$'\n'* ]]; then
    echo "FAILED $name: status $status, apt-get '$apt', errors:"$'\n'"$err"
    failures=$((failures + 1))
  fi
}

export UID_SEEN=1000 MISSING="libgtest-dev libbenchmark-dev"
expect "example needs no test framework" 0 "" "" -- example
expect "a user is told the command" 1 "" "    sudo apt-get install libgtest-dev" -- test
MISSING=libbenchmark-dev expect "benchmarks are optional" 0 "" "" -- test
UID_SEEN=0 expect "root on Debian installs" 0 \
  "update -qq|install -y -qq libgtest-dev libbenchmark-dev" "" -- test
UID_SEEN=0 MISSING=libgtest-dev APT_FAILS=1 expect "a failed install stops" 1 \
  "update -qq|install -y -qq libgtest-dev" \
  "$script: apt-get could not install libgtest-dev" -- test
UID_SEEN=0 MISSING=libbenchmark-dev APT_FAILS=1 expect "an optional package may fail" 0 \
  "update -qq|install -y -qq libbenchmark-dev" "" -- test
MISSING=g++-mingw-w64-x86-64-posix expect "packages need the cross compiler" 1 "" \
  "    sudo apt-get install g++-mingw-w64-x86-64-posix" -- package

echo "$((7 - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
