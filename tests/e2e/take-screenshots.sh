#!/bin/bash
# Screenshots of the skinned program to look at: ptest.exe's main window active and
# inactive (made inactive by the skinned probe, whose message box shows too), with the
# default and the dark skin. Uses the Wine prefix and display of scripts/wine-env.sh
# (PTEST_HOME, PTEST_DISPLAY_NUMBER). Needs build/win (ptest, skinned_probe, the skins).
#
#   tests/e2e/take-screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
set -eu
top="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:-$top/build/screenshots}"
mkdir -p "$out"
cd "$top"
unset DISPLAY
. scripts/wine-env.sh
ptest_start_display
ptest_start_wineserver
skins='\\?\unix'"$(printf '%s' "$top/build/win/skins" | tr / '\\')"
for skin in default dark; do
  timeout 20 scripts/wine-exec.sh build/win/app/ptest.exe --skin "$skins\\$skin.skn" >/dev/null 2>&1 &
  sleep 4
  import -window root "$out/main-$skin-active.png"
  timeout 8 scripts/wine-exec.sh build/win/tests/e2e/skinned_probe.exe "$skins\\$skin.skn" --message-box --low \
    >/dev/null 2>&1 &
  sleep 3.5
  import -window root "$out/main-$skin-inactive-and-message-box.png"
  wait
done
echo "screenshots in $out"
