# Sourced by the run and test scripts: the Wine environment of this project.
# Sets WINEPREFIX and friends, starts Xvfb when there is no display, and keeps a
# wineserver resident so that each Wine program starts in milliseconds.

PTEST_HOME="${PTEST_HOME:-$HOME/.cache/ptest}"
export PTEST_HOME
export WINEPREFIX="$PTEST_HOME/wineprefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Code page 936 and intact non-ASCII command-line arguments.
export LC_ALL=zh_CN.UTF-8
# The fixed drives D: and E: of the prefix (C: is the prefix's own drive_c).
export PTEST_DRIVE_D="$PTEST_HOME/drives/d"
export PTEST_DRIVE_E="$PTEST_HOME/drives/e"

ptest_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=87
  export DISPLAY=":$n"
  if [ ! -e "/tmp/.X11-unix/X$n" ]; then
    # Detached: the server must not inherit a caller's lock or pipe.
    ptest_detached / Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.05
    done
  fi
}

# ptest_detached [--wait] DIR COMMAND...: runs COMMAND in DIR with no standard handles and
# no other inherited descriptors, in its own session, so that nothing it leaves running
# holds a caller's pipe open. Without --wait it returns at once.
ptest_detached() {
  local fork=-f
  if [ "$1" = "--wait" ]; then fork=-w; shift; fi
  local dir="$1"
  shift
  setsid $fork bash -c 'for fd in $(ls /proc/$$/fd); do
                          [ "$fd" -gt 2 ] && eval "exec $fd>&-"
                        done 2>/dev/null
                        cd "$1" && shift && exec "$@"' _ "$dir" "$@" >/dev/null 2>&1 </dev/null
}

ptest_start_wineserver() {
  # Wine's own background programs (services, the desktop's explorer) live as long as the
  # server and inherit the handles of whoever starts them. Start them here, detached, so
  # that a caller reading a test program's output (ctest's discovery) is never kept
  # waiting for them. -p keeps the server alive between programs.
  local me
  me="$(id -u)"
  pgrep -u "$me" -f 'explorer.exe /desktop' >/dev/null 2>&1 && return 0
  (
    flock 8
    if ! pgrep -u "$me" -f 'explorer.exe /desktop' >/dev/null 2>&1; then
      local c="$WINEPREFIX/drive_c"
      ptest_detached --wait "$c" wineserver -p || true
      ptest_detached --wait "$c" wine wineboot || true
      ptest_detached "$c" wine explorer.exe /desktop
      for _ in $(seq 1 200); do
        pgrep -u "$me" -f 'explorer.exe /desktop' >/dev/null 2>&1 && break
        sleep 0.05
      done
    fi
  ) 8>"$PTEST_HOME/boot.lock"
}
