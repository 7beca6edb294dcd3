#!/usr/bin/env bash
# Installs what building and testing Quillet needs, and nothing that is already there.
# Debian/Ubuntu: apt packages (run as root or with sudo). macOS: Homebrew formulae.
set -euo pipefail

debian_packages=(
    build-essential cmake ninja-build pkg-config clang-format
    libicu-dev libssl-dev nlohmann-json3-dev libzip-dev zip unzip
    libgtest-dev libgmock-dev libbenchmark-dev
    libcpp-httplib-dev libsqlite3-dev openssl
    qt6-base-dev qt6-webengine-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-noto-cjk
    xvfb xauth
    desktop-file-utils appstream
    dpkg-dev lintian curl
    libgnustep-base-dev libgnustep-gui-dev gobjc clang patch
)

brew_formulae=(cmake ninja pkg-config clang-format icu4c openssl@3 nlohmann-json libzip
    googletest google-benchmark cpp-httplib sqlite qt)

install_debian() {
    local missing=()
    for pkg in "${debian_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

install_macos() {
    local missing=()
    for formula in "${brew_formulae[@]}"; do
        if ! brew list --formula "$formula" >/dev/null 2>&1; then
            missing+=("$formula")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        brew install "${missing[@]}"
    fi
}

case "$(uname -s)" in
Linux) install_debian ;;
Darwin) install_macos ;;
*) echo "Unsupported system: $(uname -s); install the packages listed in this script by hand." >&2; exit 1 ;;
esac
