#!/bin/sh
# Installs every Debian 12 package needed to build, run and test Treeweaver.
# Run as root (or through sudo). Packages already present are skipped.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config
googletest libgtest-dev libgmock-dev libbenchmark-dev
qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
qt6-webengine-dev
libqt6svg6
nlohmann-json3-dev libxml2-dev
clang libclang-rt-dev clang-format clang-tidy
tidy xvfb xauth
desktop-file-utils appstream dpkg-dev file lintian
chromium nodejs nginx-light
fonts-dejavu-core fonts-liberation2
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

# The browser checks of the template sets take playwright-core and axe-core
# from npm, into a folder of the normal build (see tests/browser).
install_browser_packages() {
    "$(dirname "$0")/../tests/browser/install.sh" "$(dirname "$0")/../build/browser-node"
}

if [ -z "$missing" ]; then
    echo "All build dependencies are installed."
    install_browser_packages
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
install_browser_packages
