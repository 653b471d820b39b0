# Debian packages the build needs, shared by the scripts.
VEXA_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev qttools5-dev-tools
  libqt5svg5-dev)
