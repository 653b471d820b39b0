#!/usr/bin/env bash
# Walks the demo's accessibility tree over AT-SPI, as a screen reader sees it,
# in both languages: the start page with its recent projects, then the package
# dialog of an open project. Prints every object a user can act on with its
# name and fails when any has none. Runs under Xvfb in a private D-Bus session
# with its own accessibility bus, and in a private home, so it needs no desktop.
# VEXA_DEMO names a built demo to walk; otherwise it builds one (Qt 5).
# VEXA_A11Y_KEEP=1 keeps the demo's logs and homes.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${VEXA_A11Y_SESSION:-}" ]; then
  source scripts/packages.sh
  bash scripts/ensure-packages.sh xvfb xauth dbus at-spi2-core python3-pyatspi fonts-wqy-microhei
  if [ -z "${VEXA_DEMO:-}" ]; then
    bash scripts/ensure-packages.sh "${VEXA_BUILD_PACKAGES[@]}"
    cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_TESTS=OFF -DVEXA_BUILD_DEMO=ON
    cmake --build build/demo -j"$(nproc 2>/dev/null || echo 2)" --target vexademo
    VEXA_DEMO=build/demo/bin/vexademo
  fi
  export VEXA_DEMO=$(realpath "$VEXA_DEMO") VEXA_A11Y_SESSION=1
  exec dbus-run-session -- bash "$0" "$@"
fi

# From here on inside the private session.
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -n "${VEXA_A11Y_KEEP:-}" ]; then echo "logs kept in $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 10 display <&"$displayfd"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Started here, on this display, the bus launcher leaves its address on the
# root window, where Qt finds it at once; Qt's other way, asking the session
# bus, races with the application's start and now and then loses.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.a11y.Bus 2>/dev/null | grep -q true && break
  sleep 0.2
done

walker=(/usr/bin/python3 scripts/a11y_walk.py --app Vexa_LED_Studio)
# The demo in the language and private home of this round.
start_demo() {
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache \
    XDG_RUNTIME_DIR=$home/run "$VEXA_DEMO" --lang "$lang" >>"$work/demo-$lang.log" 2>&1 &
  demo=$!
}
# Starts the demo until the walker finds it on the bus (Qt's bridge misses
# the bus at start now and then), then walks the start page and, after a
# double-click on the first recent project (the list comes before the
# templates in the page's tree) and a press of the host's Package button,
# the package dialog; the host's own window is the host's matter.
walk_round() {
  local tries=0 result=3
  while [ $result = 3 ] && [ $tries -lt 15 ]; do
    tries=$((tries + 1))
    start_demo
    result=0
    "${walker[@]}" --title "start page ($lang)" --wait "list item=6" || result=$?
    if [ $result != 3 ]; then
      "${walker[@]}" --title "package dialog ($lang)" --double-click "list item=.*#0" \
        --press "push button=Package|打包" --then-wait "radio button=.+" --windows dialog || result=1
    fi
    kill "$demo" 2>/dev/null || true
    wait "$demo" || true
  done
  return $result
}

status=0
for lang in en zh_CN; do
  home="$work/home-$lang"
  mkdir -p "$home/run" && chmod 0700 "$home/run"
  # A first start makes three sample projects; made before the walks, so the
  # work does not slow every start the walker waits for.
  start_demo
  for _ in $(seq 240); do
    [ "$(find "$home/Documents" -name '*.ptr7' 2>/dev/null | wc -l)" -ge 3 ] && break
    sleep 0.5
  done
  sleep 2
  kill "$demo" 2>/dev/null || true
  wait "$demo" || true
  walk_round || status=1
done
exit $status
