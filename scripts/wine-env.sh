# Sourced by the test, bench and run scripts: a Wine prefix of our own under
# build/, a Chinese locale, quiet Wine, a virtual display when asked for one,
# and one persistent wineserver for the whole run.
#
#   wine_env_start [virtual]   -- "virtual" always starts Xvfb; otherwise only
#                                 when there is no DISPLAY
#   wine_env_stop
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: the program needs neither.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8

LUMISCRIBE_XVFB_PID=""

wine_env_start() {
  local want_virtual=${1:-}
  if [ "$want_virtual" = virtual ] || [ -z "${DISPLAY:-}" ]; then
    local number
    for number in $(seq 90 140); do
      [ -e /tmp/.X11-unix/X$number ] || [ -e /tmp/.X$number-lock ] && continue
      Xvfb :$number -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      LUMISCRIBE_XVFB_PID=$!
      local tries=0
      while [ ! -e /tmp/.X11-unix/X$number ] && [ $tries -lt 100 ]; do
        sleep 0.05; tries=$((tries + 1))
      done
      if kill -0 $LUMISCRIBE_XVFB_PID 2>/dev/null; then
        export DISPLAY=:$number
        break
      fi
      LUMISCRIBE_XVFB_PID=""
    done
    [ -n "$LUMISCRIBE_XVFB_PID" ] || { echo "wine-env: could not start Xvfb" >&2; return 1; }
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p
  # Start Wine's background services now, detached from our output: a service
  # started by a test would inherit the test's pipes and keep ctest waiting.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  # The virtual display has no window manager, so Wine would wait two seconds
  # for one each time it hides or destroys a window: leave the windows
  # unmanaged there. On a real desktop the window manager handles them.
  local key='HKCU\Software\Wine\X11 Driver'
  if [ -n "$LUMISCRIBE_XVFB_PID" ]; then
    wine reg add "$key" /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  else
    wine reg delete "$key" /v Managed /f </dev/null >/dev/null 2>&1 || true
  fi
}

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "$LUMISCRIBE_XVFB_PID" ]; then
    kill "$LUMISCRIBE_XVFB_PID" 2>/dev/null || true
    wait "$LUMISCRIBE_XVFB_PID" 2>/dev/null || true
    LUMISCRIBE_XVFB_PID=""
  fi
}
