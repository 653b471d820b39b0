#!/usr/bin/env bash
# Builds with warnings as errors and runs every suite; then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the same suites;
# then builds against Qt 6 and runs them once more.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/ensure-packages.sh "${VEXA_BUILD_PACKAGES[@]}" "${VEXA_QT6_BUILD_PACKAGES[@]}" "${VEXA_TEST_PACKAGES[@]}" locales

# The number text is checked under a locale with a decimal comma; a fresh
# system has none, and without one the check would prove nothing.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  if [ "$(id -u)" -eq 0 ]; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
  else
    echo "Missing the de_DE.UTF-8 locale. Make it with:" >&2
    echo "  sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8" >&2
    exit 1
  fi
fi

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_WERROR=ON -DVEXA_BUILD_TESTS=ON "$@"
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
  # Whether the tests of slow storage had their real file system, or why not.
  grep -hE 'FUSE mount' "$dir/Testing/Temporary/LastTest.log" || echo "no line about the FUSE mount in the test log"
}

echo "== Build and tests =="
run_suite build/tests
echo "== Build and tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
run_suite build/sanitize -DVEXA_SANITIZE=ON
echo "== Build and tests against Qt 6 =="
run_suite build/tests-qt6 -DVEXA_QT_MAJOR=6
