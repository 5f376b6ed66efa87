#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and starts korbast in the current directory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" "$here/build"
exec "$here/build/korbast" "$@"
