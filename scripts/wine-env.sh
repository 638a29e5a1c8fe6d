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
  local n="${PTEST_DISPLAY_NUMBER:-87}"
  export DISPLAY=":$n"
  ptest_display_alive "$n" && return 0
  # A socket and lock left by a server that is gone (a machine restarted with /tmp kept)
  # would make every window fail to open: clear them and start afresh.
  rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  # A desktop started against the dead display cannot open windows either.
  if ptest_desktop_running; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  # Detached: the server must not inherit a caller's lock or pipe.
  ptest_detached / Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp
  for _ in $(seq 1 100); do
    ptest_display_alive "$n" && [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.05
  done
}

# ptest_display_alive N: whether the X server that holds display :N's lock is running.
ptest_display_alive() {
  local pid
  pid="$({ tr -d ' \n' <"/tmp/.X$1-lock"; } 2>/dev/null)" || return 1
  [ -n "$pid" ] && [ -e "/tmp/.X11-unix/X$1" ] || return 1
  case "$(cat "/proc/$pid/comm" 2>/dev/null)" in
    Xvfb | Xorg | X) return 0 ;;
    *) return 1 ;;
  esac
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

# ptest_desktop_running: whether the desktop (explorer.exe) of our prefix runs; other
# prefixes of the same user (another checkout's tests) have their own.
ptest_desktop_running() {
  local pid
  for pid in $(pgrep -u "$(id -u)" -f 'explorer.exe /desktop' 2>/dev/null); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

ptest_start_wineserver() {
  # Wine's own background programs (services, the desktop's explorer) live as long as the
  # server and inherit the handles of whoever starts them. Start them here, detached, so
  # that a caller reading a test program's output (ctest's discovery) is never kept
  # waiting for them. -p keeps the server alive between programs.
  ptest_desktop_running && return 0
  (
    flock 8
    if ! ptest_desktop_running; then
      local c="$WINEPREFIX/drive_c"
      ptest_detached --wait "$c" wineserver -p || true
      ptest_detached --wait "$c" wine wineboot || true
      ptest_detached "$c" wine explorer.exe /desktop
      for _ in $(seq 1 200); do
        ptest_desktop_running && break
        sleep 0.05
      done
    fi
  ) 8>"$PTEST_HOME/boot.lock"
}
