#!/usr/bin/env bash
# Sets up what the program needs (Debian packages, configure, build the program alone) and
# starts korbast in the current directory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" --program "$here/build"
exec "$here/build/korbast" "$@"
