#!/usr/bin/env bash
# Creates the project's Wine prefix, non-interactively and idempotently:
# 32-bit, code page 936 (through the locale), Wine's own fonts installed, a CJK font
# standing in for SimSun/"宋体", fixed drives D: and E: mapped to folders of ours, and no
# drive mapped to the Linux root (so watching "every fixed disk" never walks all of Linux).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# Bump when the recipe below changes; an older prefix is then made again.
recipe=3
stamp="$WINEPREFIX/.ptest-ready"

mkdir -p "$PTEST_HOME"
exec 9>"$PTEST_HOME/.prefix.lock"
flock 9
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
  exit 0
fi

echo "making the Wine prefix $WINEPREFIX" >&2
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
ptest_start_display
wineboot -i >/dev/null 2>&1
wineserver -w

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts/" 2>/dev/null || true

# Drives: C: stays the prefix's drive_c; D: and E: are folders of ours; nothing else.
mkdir -p "$PTEST_DRIVE_D" "$PTEST_DRIVE_E"
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/d:" "$WINEPREFIX/dosdevices/e:"
ln -sfn "$PTEST_DRIVE_D" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$PTEST_DRIVE_E" "$WINEPREFIX/dosdevices/e:"

reg="$(mktemp --suffix=.reg)"
utf8="$(mktemp)"
sharp="WenQuanYi Zen Hei Sharp"
cat >"$utf8" <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"SimSun"="$sharp"
"宋体"="$sharp"
"NSimSun"="$sharp"
"新宋体"="$sharp"
"SimHei"="$sharp"
"黑体"="$sharp"
"Microsoft YaHei"="$sharp"
"微软雅黑"="$sharp"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Decorated"="N"

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]
"c:"="hd"
"d:"="hd"
"e:"="hd"
REG
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE "$utf8"; } >"$reg"
wine regedit /S "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg" "$utf8"

# The drive table and fonts are read when the server starts.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
echo "$recipe" >"$stamp"
echo "Wine prefix ready" >&2
