#!/usr/bin/env bash
# Builds the demo host and starts it. Without a display it runs the
# screenshot tour under Xvfb instead and says where the pictures are.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
packages=("${VEXA_BUILD_PACKAGES[@]}")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  packages+=(xvfb xauth)
fi
# Fonts for the Chinese texts.
packages+=(fonts-wqy-microhei)
# Qt's own texts (the file dialogs) in Chinese.
packages+=(qttranslations5-l10n)
bash scripts/ensure-packages.sh "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXA_BUILD_TESTS=OFF -DVEXA_BUILD_DEMO=ON
cmake --build build/demo -j"$jobs" --target vexademo
demo=build/demo/bin/vexademo

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$demo" "$@"
fi

out=${VEXA_SCREENSHOT_DIR:-$PWD/build/demo/screenshots}
mkdir -p "$out"
echo "No display found: running the screenshot tour under Xvfb."
for lang in en zh_CN; do
  xvfb-run -a -s "-screen 0 1600x1000x24" "$demo" --lang "$lang" --screenshot-tour "$out/$lang"
done
echo "Screenshots written to $out"
