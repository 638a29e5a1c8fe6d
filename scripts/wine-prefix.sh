#!/usr/bin/env bash
# Makes the project's Wine prefix, non-interactively and idempotently:
# 32-bit, code page 936 (through the locale), Wine's own fonts installed, a CJK font
# standing in for SimSun/"宋体", fixed drives D: and E: mapped to folders of ours, and no
# drive mapped to the Linux root (so watching "every fixed disk" never walks all of Linux).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# Bump when the settings below change; an existing prefix is then configured again.
recipe=5
stamp="$WINEPREFIX/.ptest-ready"
ready() { [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; }
ready && exit 0

mkdir -p "$PTEST_HOME"
exec 9>"$PTEST_HOME/prefix.lock"
flock 9
ready && exit 0
ptest_start_display

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making the Wine prefix $WINEPREFIX" >&2
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  # Detached, so that the server and its helpers hold none of our descriptors (the lock).
  ptest_detached --wait / wineboot -i
  wineserver -w
fi
echo "configuring the Wine prefix $WINEPREFIX" >&2

fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts/" 2>/dev/null || true

# Settings: the CJK font for the Chinese font names, undecorated windows (no window manager
# runs under Xvfb), no crash dialog (a crashing test must end, not wait for a click), and
# the drive types. regedit needs UTF-16 with a byte-order mark for
# the non-ASCII names, and a path on a drive: the file goes into C:\.
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

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]
"c:"="hd"
"d:"="hd"
"e:"="hd"
REG
reg="$WINEPREFIX/drive_c/ptest-settings.reg"
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE "$utf8"; } >"$reg"
rm -f "$utf8"
ptest_detached --wait "$WINEPREFIX/drive_c" wine regedit /S 'C:\ptest-settings.reg'
# Stopping the server writes the registry files (a resident server would never exit).
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
rm -f "$reg"
if ! grep -q 'WenQuanYi Zen Hei Sharp' "$WINEPREFIX/user.reg"; then
  echo "wine-prefix: the registry settings were not imported" >&2
  exit 1
fi

# Drives: C: stays the prefix's drive_c; D: and E: are folders of ours; nothing else.
# (After the import: regedit needed a drive for its file, and no drive maps the root.)
mkdir -p "$PTEST_DRIVE_D" "$PTEST_DRIVE_E"
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/d:" "$WINEPREFIX/dosdevices/e:"
ln -sfn "$PTEST_DRIVE_D" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$PTEST_DRIVE_E" "$WINEPREFIX/dosdevices/e:"

# The drive table and fonts are read when the server starts.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
echo "$recipe" >"$stamp"
echo "Wine prefix ready" >&2
