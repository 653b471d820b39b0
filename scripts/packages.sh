# Debian packages the build needs, shared by the scripts.
VEXA_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools
  libqt5svg5-dev)
# The same for a build against Qt 6 (-DVEXA_QT_MAJOR=6); the platform plug-ins
# and Qt's own translations are separate packages there.
VEXA_QT6_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config libgl-dev qt6-base-dev qt6-tools-dev
  qt6-tools-dev-tools qt6-l10n-tools qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n)

# What the tests need besides the build: a real file system that answers late
# or fails (FUSE), for the tests of projects on slow or unreachable storage.
VEXA_TEST_PACKAGES=(fuse3 libfuse3-dev)

# The packages for the Qt major version given as the argument (5 or 6).
vexa_packages_for_qt() {
  case "$1" in
    5) echo "${VEXA_BUILD_PACKAGES[@]}" ;;
    6) echo "${VEXA_QT6_BUILD_PACKAGES[@]}" ;;
    *) echo "VEXA_QT_MAJOR must be 5 or 6, not '$1'" >&2; return 1 ;;
  esac
}
