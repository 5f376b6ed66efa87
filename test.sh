#!/usr/bin/env bash
# Sets up like run.sh, then runs every test (unit tests and whole-program dialogs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" "$here/build"
cd "$here/build"
ctest --output-on-failure -j "$(nproc)"
