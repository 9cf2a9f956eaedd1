#!/bin/sh
# Installs what building and testing Dorvane needs on Debian 12, when missing.
# Every peer the tests talk to is named here: recommended packages are not
# installed, so pymodbus's serial modules (python3-serial,
# python3-serial-asyncio) are listed on their own.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config clang libclang-rt-14-dev
qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools
libqt5serialport5-dev libqt5svg5-dev libyaml-cpp-dev libqcustomplot-dev libudev-dev
libgtest-dev libbenchmark-dev xvfb xauth shared-mime-info desktop-file-utils
socat tshark python3-pymodbus python3-serial python3-serial-asyncio fonts-dejavu-core gcc librsvg2-bin dpkg-dev lintian appstream
qttranslations5-l10n fonts-wqy-microhei"
# tools/take-screenshots.sh turns the help pictures into palette PNGs.
PACKAGES="$PACKAGES imagemagick"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
