#!/usr/bin/env bash
# Makes sure the Debian packages that a make target needs are installed.
#
#   tools/ensure-packages.sh example|test|package
#
# example (and install) needs a C++ compiler, CMake and make; test also
# GoogleTest, and the headless browser once the report program is there;
# package also the Windows cross compiler. Google Benchmark is optional for
# test: without it the benchmarks are left out. Run as root on Debian, the
# script installs what is missing with apt-get; otherwise it stops with the
# command that installs it.
set -euo pipefail

usage="usage: $0 example|test|package"
[[ $# -eq 1 ]] || { echo "$usage" >&2; exit 64; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

needed=(g++ cmake make)
optional=()
case $1 in
  example) ;;
  test)
    needed+=(libgtest-dev)
    optional+=(libbenchmark-dev)
    if [[ -d $here/src/report ]]; then needed+=(chromium-headless-shell); fi
    ;;
  package) needed+=(g++-mingw-w64-x86-64-posix) ;;
  *) echo "$usage" >&2; exit 64 ;;
esac

# The compiler, CMake and make are there when their commands are, however they
# were installed; a library or the browser when dpkg has its package installed.
# Without dpkg, CMake says what it cannot find.
installed() {
  case $1 in
    g++) command -v "${CXX:-g++}" >/dev/null; return ;;
    cmake | make) command -v "$1" >/dev/null; return ;;
  esac
  command -v dpkg-query >/dev/null || return 0
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == *"ok installed" ]]
}

missing=()
for package in "${needed[@]}"; do installed "$package" || missing+=("$package"); done
missing_optional=()
for package in "${optional[@]}"; do installed "$package" || missing_optional+=("$package"); done
[[ ${#missing[@]} -eq 0 && ${#missing_optional[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -eq 0 && -f /etc/debian_version ]] && command -v apt-get >/dev/null; then
  echo "== installing ${missing[*]} ${missing_optional[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" "${missing_optional[@]}" >/dev/null && exit 0
  # An optional package that cannot be had must not stop the rest.
  if [[ ${#missing_optional[@]} -gt 0 ]]; then
    echo "note: ${missing_optional[*]} could not be installed; the benchmarks are left out" >&2
    [[ ${#missing[@]} -eq 0 ]] && exit 0
    apt-get install -y -qq "${missing[@]}" >/dev/null && exit 0
  fi
  echo "$0: apt-get could not install ${missing[*]}" >&2
  exit 1
fi

sudo=
[[ $(id -u) -eq 0 ]] || sudo="sudo "
if [[ ${#missing_optional[@]} -gt 0 ]]; then
  echo "note: without ${missing_optional[*]} the benchmarks are left out;" \
       "${sudo}apt-get install ${missing_optional[*]} adds them" >&2
fi
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "make $1 needs ${missing[*]}. Install with:" >&2
  echo "    ${sudo}apt-get install ${missing[*]}" >&2
  exit 1
fi
