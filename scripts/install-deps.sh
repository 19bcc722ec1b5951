#!/usr/bin/env bash
# Installs the Debian packages that building and testing Mirelto needs, and only those that are
# missing. Package lists are refreshed once, and only when something has to be installed.
set -euo pipefail

packages=(
    g++ make cmake ninja-build pkg-config locales
    libgtest-dev libgmock-dev libbenchmark-dev
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
