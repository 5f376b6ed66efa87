#!/usr/bin/env bash
# Sets up like run.sh plus the test tools, builds the tests, then runs every test (unit tests
# and whole-program dialogs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" "$here/build"
cd "$here/build"
ctest --output-on-failure -j "$(nproc)"
