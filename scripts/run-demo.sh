#!/usr/bin/env bash
# Builds the demo host and starts it. Without a display it runs the
# screenshot tour under Xvfb instead and says where the pictures are.
# VEXA_QT_MAJOR=6 builds it against Qt 6 instead of Qt 5.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
qt_major=${VEXA_QT_MAJOR:-5}
qt_packages=$(vexa_packages_for_qt "$qt_major")
read -r -a packages <<<"$qt_packages"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  packages+=(xvfb xauth)
fi
# Fonts for the Chinese texts.
packages+=(fonts-wqy-microhei)
# Qt's own texts (the file dialogs) in Chinese.
packages+=(qttranslations5-l10n)
bash scripts/ensure-packages.sh "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
build=build/demo
[ "$qt_major" = 5 ] || build=build/demo-qt$qt_major
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_TESTS=OFF -DVEXA_BUILD_DEMO=ON \
  -DVEXA_QT_MAJOR="$qt_major"
cmake --build "$build" -j"$jobs" --target vexademo
demo=$build/bin/vexademo

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$demo" "$@"
fi

out=${VEXA_SCREENSHOT_DIR:-$PWD/$build/screenshots}
mkdir -p "$out"
echo "No display found: running the screenshot tour under Xvfb."
for lang in en zh_CN; do
  xvfb-run -a -s "-screen 0 1600x1000x24" "$demo" --lang "$lang" --screenshot-tour "$out/$lang"
done
echo "Screenshots written to $out"
