#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages the build needs (when run
# as root and something is missing), then configures and builds into the folder given ($1,
# default build/) with any further CMake options.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/build}; shift || true

packages=(cmake make g++ pkg-config libcairo2-dev libdeflate-dev libfreetype-dev libx11-dev fonts-dejavu-core
          googletest libgtest-dev libbenchmark-dev faketime xvfb xauth poppler-utils qpdf clang)
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

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >&2
cmake --build "$build" -j "$(nproc)" >&2
