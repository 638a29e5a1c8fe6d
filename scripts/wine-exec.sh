#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix: wine-exec.sh PROGRAM [ARGS...]
# Used as CMake's cross-compiling emulator, so ctest runs the test programs through it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
[ -f "$WINEPREFIX/.ptest-ready" ] || "$here/wine-prefix.sh" >&2
ptest_start_display
ptest_start_wineserver
# Start in C:\ so that Wine has a working directory on a drive (no drive maps the Linux
# root); the program's own path must then be absolute.
program="$(realpath -- "$1")"
shift
cd "$WINEPREFIX/drive_c"
exec wine "$program" "$@"
