#!/bin/sh
# The virtual X server of the real-window tests, as a CTest fixture.
#   x_server.sh start STATE_DIR   starts Xvfb on a display it finds free itself
#                                 and writes ":N" to STATE_DIR/display
#   x_server.sh stop STATE_DIR    stops it
#   x_server.sh run STATE_DIR CMD...  runs CMD with URIAGE_TEST_DISPLAY set
#                                 (unset when no server was started)
set -eu
action=$1 state=$2
shift 2
case $action in
start)
  mkdir -p "$state"
  rm -f "$state/display" "$state/pid" "$state/number"
  # -displayfd: the server picks a free display and writes its number once it
  # accepts connections. Its output goes nowhere so CTest does not wait on it.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$state/number" </dev/null >/dev/null 2>&1 &
  echo $! >"$state/pid"
  tries=0
  until [ -s "$state/number" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$(cat "$state/pid")" 2>/dev/null; then
      echo "Xvfb did not start" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo ":$(tr -d '\n' <"$state/number")" >"$state/display"
  echo "Xvfb on $(cat "$state/display")"
  ;;
stop)
  if [ -f "$state/pid" ]; then
    kill "$(cat "$state/pid")" 2>/dev/null || true
  fi
  rm -f "$state/display" "$state/pid" "$state/number"
  ;;
run)
  if [ -s "$state/display" ]; then
    URIAGE_TEST_DISPLAY=$(cat "$state/display")
    export URIAGE_TEST_DISPLAY
  fi
  exec "$@"
  ;;
*)
  echo "usage: x_server.sh start|stop|run STATE_DIR [CMD...]" >&2
  exit 2
  ;;
esac
