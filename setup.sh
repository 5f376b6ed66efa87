#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages the build needs (when run
# as root and something is missing), then configures and builds into the folder given
# (default build/) with any further CMake options.
#
#   setup.sh --program [BUILD]   what running the program needs: compiler, CMake, Cairo,
#                                libdeflate, FreeType, X11 and the fonts; builds the program alone
#                                (a folder the tests were already set up in keeps them)
#   setup.sh [BUILD] [OPTION...] adds the test tools (GoogleTest, Google Benchmark, clang,
#                                faketime, Xvfb, poppler, qpdf, python3); builds the tests too
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program_only=0
if [ "${1:-}" = --program ]; then program_only=1; shift; fi
build=${1:-$here/build}; shift || true

packages=(cmake make g++ pkg-config libcairo2-dev libdeflate-dev libfreetype-dev libfontconfig-dev libx11-dev libxau-dev
          fonts-dejavu-core)
[ $program_only = 1 ] ||
  packages+=(googletest libgtest-dev libbenchmark-dev zlib1g-dev faketime xvfb xauth poppler-utils clang qpdf
             python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "korbast set-up: installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >&2
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
  else
    echo "korbast set-up: missing Debian packages (install them as root): ${missing[*]}" >&2
  fi
fi

if [ $program_only = 1 ]; then
  # A fresh folder is configured without the tests; one already configured keeps its set-up.
  [ -f "$build/CMakeCache.txt" ] ||
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORBAST_TESTS=OFF >&2
  cmake --build "$build" -j "$(nproc)" --target korbast >&2
else
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORBAST_TESTS=ON "$@" >&2
  cmake --build "$build" -j "$(nproc)" >&2
fi
