#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are absent;
# the package lists are refreshed only when something must be installed.
# With package names as arguments, those instead (bench/run.sh's tools).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-l10n-tools qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev libpq-dev
    libxlsxwriter-dev
    xvfb xauth
    postgresql
    openssl
    python3 python3-openpyxl
    dpkg-dev lintian
)
if [ $# -gt 0 ]; then
    packages=("$@")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
