#!/usr/bin/env bash
# Burst measurement of the watcher under Wine: 20,000 files created as fast as possible
# in a watched tree on drive D: (four folders that exist before the watch starts), with
# the GUI thread free, blocked for 6 s, and blocked for the whole burst; the files made
# by a thread of the program, then from Linux (a second process).
# Run after scripts/build.sh win; arguments go to every run. Prints one line of figures
# per run and fails if a run neither reported every file nor raised an overflow event.
# FILES=n changes the count.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../../scripts/wine-env.sh
. "$top/scripts/wine-env.sh"
ptest_start_display
ptest_start_wineserver
exe="$top/build/win/tests/watch/watch_burst.exe"
files="${FILES:-20000}"
status=0

for block in "--block-ms 0" "--block-ms 6000"; do
  # shellcheck disable=SC2086
  "$top/scripts/wine-exec.sh" "$exe" --files "$files" $block "$@" | tr -d '\r' || status=1
done

# From Linux: the program marks the tree "ready"; python creates the files and writes the
# times of its first and last creation into "done".
for block in "--block-ms 0" "--block-ms 6000" "--block-whole-burst"; do
  before="$(ls -d "$PTEST_DRIVE_D"/ptest-burst-* 2>/dev/null || true)"
  # shellcheck disable=SC2086
  ("$top/scripts/wine-exec.sh" "$exe" --files "$files" $block --external "$@" | tr -d '\r') &
  runner=$!
  tree=""
  for _ in $(seq 1 400); do
    for d in "$PTEST_DRIVE_D"/ptest-burst-*; do
      [ -f "$d/ready" ] && ! grep -qxF "$d" <<<"$before" && tree="$d"
    done
    [ -n "$tree" ] && break
    sleep 0.05
  done
  if [ -z "$tree" ]; then
    echo "no watched tree appeared" >&2
    kill "$runner"
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
done
exit $status
