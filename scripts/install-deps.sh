#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mirelto needs, and only those that are
# missing. Package lists are refreshed once, and only when something has to be installed.
set -euo pipefail

packages=(
    # build and core tests
    g++ make cmake ninja-build pkg-config locales
    # the linker: mold links the Qt and sanitizer programs several times faster
    mold
    libgtest-dev libgmock-dev libbenchmark-dev
    # the fuzz targets: clang with libFuzzer and its sanitizers
    clang libclang-rt-dev
    # mirelto-cli's --json outputs and the tests that read them back; design files
    nlohmann-json3-dev
    # installing and packaging: validating the desktop files, the man page, the Debian package
    desktop-file-utils appstream shared-mime-info help2man dpkg-dev file lintian
    # the window: Qt 6 Widgets with its platform plugins, SVG, and Japanese fonts
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev libxcb1-dev
    # the English translation: Linguist's CMake functions, lupdate and lrelease
    qt6-tools-dev qt6-l10n-tools
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
    # the analysis window's plots
    qt6-charts-dev libqt6opengl6-dev
    # the real-desktop test (under a real window manager) and screenshots
    xvfb xdotool xclip x11-utils imagemagick openbox
    # reading back what the print tests write to PDF; simulating the exported netlist
    poppler-utils ngspice
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
