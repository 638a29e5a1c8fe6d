#!/usr/bin/env bash
# The one command that brings up the program on a fresh machine: Debian packages, the
# Wine prefix (fixed drives C:, D:, E: and no drive for the Linux root), the Windows build,
# then ptest.exe under Wine with that prefix. Xvfb is started only when no display is set.
#   scripts/run.sh [--skin FILE]
# Arguments go to ptest.exe; a --skin FILE that names a Linux file is handed over in the
# form Wine opens ("\\?\unix\..."), since no drive maps the Linux root.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$top"

scripts/install-packages.sh
scripts/wine-prefix.sh
scripts/build.sh win

wine_path() {
  if [ -f "$1" ]; then
    local full
    full="$(realpath -- "$1")"
    printf '\\\\?\\unix%s' "${full//\//\\}"
  else
    printf '%s' "$1"
  fi
}

args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --skin)
      args+=("$1")
      shift
      [ $# -gt 0 ] && { args+=("$(wine_path "$1")"); shift; }
      ;;
    --skin=*)
      args+=("--skin=$(wine_path "${1#--skin=}")")
      shift
      ;;
    *)
      args+=("$1")
      shift
      ;;
  esac
done

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  n="${PTEST_DISPLAY_NUMBER:-87}"
  echo "no display set: the window opens on the virtual display :$n (Xvfb);" \
    "look at it with: DISPLAY=:$n import -window root shot.png" >&2
fi
exec scripts/wine-exec.sh build/win/app/ptest.exe "${args[@]}"
