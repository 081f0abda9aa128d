#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need, when missing.
# Idempotent: a second run with everything present does nothing but check.
set -euo pipefail

PACKAGES=(
    cmake make python3 dpkg-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    mingw-w64-tools binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    libz-mingw-w64-dev googletest
    wine wine64 fonts-wine
    xvfb xcompmgr xdotool imagemagick x11-utils
    fonts-wqy-zenhei locales procps
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-packages: run as root, or install sudo" >&2; exit 1; }
    SUDO="sudo"
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Code page 936 under Wine comes from the zh_CN.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
