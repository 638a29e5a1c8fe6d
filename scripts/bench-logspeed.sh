#!/usr/bin/env bash
# Log speed of ptest.exe under Wine, measured from a second program as a user would see
# it (tests/e2e/LogSpeedProbe.cpp): how soon a single new file shows in the log, and how
# a burst of 20,000 files in a watched folder on D: reaches the log (all lines, in order,
# how long after the last change) while the window keeps answering. The burst is made
# twice: by a Windows program under Wine (as fast as Wine lets it), then from Linux (far
# faster: past Linux's queue of 16,384 file events Wine loses changes, which the log must
# then report with its overflow line).
# Goals: a single change within 100 ms; the burst complete within 10 s of the last change;
# no WM_NULL answered later than 200 ms.
#
#   scripts/bench-logspeed.sh            (after scripts/build.sh win)
# FILES=n changes the burst, SINGLES=n the single changes, BUILD=dir the build folder;
# REFERENCE=1 also asks an idle second instance (what the machine itself adds);
# MAKER=wine or MAKER=linux runs only that burst.
# Prints the probe's figures; exit status 1 when a goal is missed.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=wine-env.sh
. "$top/scripts/wine-env.sh"
ptest_start_display
ptest_start_wineserver
build="${BUILD:-$top/build/win}"
probe="$build/tests/e2e/logspeed_probe.exe"
files="${FILES:-20000}"
[ -f "$probe" ] || { echo "no $probe: run scripts/build.sh win first" >&2; exit 1; }

output="$(mktemp)"
trap 'rm -f "$output"' EXIT
reference=()
[ -n "${REFERENCE:-}" ] && reference=(--reference)
status=0

if [ "${MAKER:-wine}" = wine ]; then
  echo "== burst made by a Windows program"
  "$top/scripts/wine-exec.sh" "$probe" --files "$files" --singles "${SINGLES:-10}" "${reference[@]}" \
    --make-files >"$output" 2>&1 || status=1
  tr -d '\r' <"$output"
  rm -rf "$PTEST_DRIVE_D"/ptest-logspeed-*
fi
[ "${MAKER:-linux}" = linux ] || exit $status
echo "== burst made from Linux"
before="$(ls -d "$PTEST_DRIVE_D"/ptest-logspeed-* 2>/dev/null || true)"
"$top/scripts/wine-exec.sh" "$probe" --files "$files" --singles "${SINGLES:-10}" "${reference[@]}" >"$output" 2>&1 &
runner=$!

# The probe makes a new watched folder and writes "ready" into it once the single
# changes are measured; the files are then made from here, as fast as Python can.
tree=""
for _ in $(seq 1 1200); do
  for d in "$PTEST_DRIVE_D"/ptest-logspeed-*; do
    [ -f "$d/ready" ] && ! grep -qxF "$d" <<<"$before" && tree="$d"
  done
  [ -n "$tree" ] && break
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$tree" ]; then
  echo "the probe made no watched folder" >&2
  kill "$runner" 2>/dev/null
  tr -d '\r' <"$output"
  exit 1
fi
python3 - "$tree" "$files" <<'PY'
import os, sys, time
tree, files = sys.argv[1], int(sys.argv[2])
folders = ["top", "a", "a/b", "a/b/c"]
first = time.time_ns()
for i in range(files):
    os.close(os.open(f"{tree}/{folders[i % 4]}/f{i}.txt", os.O_CREAT | os.O_WRONLY | os.O_EXCL))
last = time.time_ns()
with open(f"{tree}/done.tmp", "w") as f:
    f.write(f"{first} {last}")
os.rename(f"{tree}/done.tmp", f"{tree}/done")
PY
wait "$runner" || status=1
tr -d '\r' <"$output"
rm -rf "$tree"
exit $status
