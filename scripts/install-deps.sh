#!/usr/bin/env bash
# Installs what the named tiers need, and nothing that is already there:
#   install-deps.sh TIER...       install the packages of each TIER
#   install-deps.sh --list TIER   print the Debian packages of TIER, one a line
# Tiers: build (make run: the app, cli and service, built and run), test (make test adds),
# package (make package and its check), bench (make bench-backup, make service-load),
# ci (make test-all adds: sanitizers, fuzzers, format and tidy checks, the heavy tests).
# Debian/Ubuntu: apt packages (run as root or with sudo). macOS: Homebrew formulae.
set -euo pipefail

tiers=(build test package bench ci)

# libgl-dev: Qt's CMake files look for OpenGL. The GNUstep headers are the platform SDK that the
# precise mode protects on Linux, read at run time.
debian_build=(
    build-essential cmake ninja-build pkg-config
    libicu-dev libssl-dev nlohmann-json3-dev libzip-dev libcpp-httplib-dev libsqlite3-dev libboost-dev
    qt6-base-dev qt6-webengine-dev qt6-svg-dev libgl-dev qt6-translations-l10n fonts-noto-cjk
    libgnustep-base-dev libgnustep-gui-dev
)
# patch and unzip check diffs and backups; openssl makes the TLS tests' certificate.
debian_test=(libgtest-dev libgmock-dev patch unzip openssl)
# file: CPack's dependency computation; curl: the package check asks the installed service.
debian_package=(dpkg-dev file lintian curl)
debian_bench=(zip wrk)
# clang and its runtimes for the fuzzers; gobjc for the build check's Objective-C runtime
# headers; xvfb for the screenshots; the validators for the desktop files; stress for
# scripts/flaky-hunt.sh.
debian_ci=(
    clang libclang-rt-14-dev clang-format-14 clang-tidy-14 gobjc
    xvfb xauth desktop-file-utils appstream stress
)

brew_build=(cmake ninja pkg-config icu4c openssl@3 nlohmann-json libzip cpp-httplib sqlite boost qt)
brew_test=(googletest)
brew_bench=(wrk)

usage() {
    echo "usage: $0 TIER...  |  $0 --list TIER    (tiers: ${tiers[*]})" >&2
    exit 2
}

# Prints the packages of one tier for this system. (macOS's bash 3.2 has no namerefs.)
packages_of() {
    local list="${1}_${2}[@]"
    printf '%s\n' "${!list}"
}

check_tier() {
    local tier
    for tier in "${tiers[@]}"; do
        [ "$1" = "$tier" ] && return
    done
    echo "$0: unknown tier '$1'" >&2
    usage
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

install_debian() {
    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

install_macos() {
    local missing=() formula
    for formula in "$@"; do
        if ! brew list --formula "$formula" >/dev/null 2>&1; then
            missing+=("$formula")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        brew install "${missing[@]}"
    fi
}

[ $# -gt 0 ] || usage
case "$(uname -s)" in
Linux) prefix=debian ;;
Darwin) prefix=brew ;;
*)
    echo "Unsupported system: $(uname -s); install the packages listed in this script by hand." >&2
    exit 1
    ;;
esac

if [ "$1" = --list ]; then
    [ $# -eq 2 ] || usage
    check_tier "$2"
    packages_of debian "$2"
    exit 0
fi

wanted=()
for tier in "$@"; do
    check_tier "$tier"
    if [ "$prefix" = brew ] && ! declare -p "brew_$tier" >/dev/null 2>&1; then
        echo "The $tier tier is set up on Debian only; nothing to install for it here." >&2
        continue
    fi
    while IFS= read -r package; do
        wanted+=("$package")
    done < <(packages_of "$prefix" "$tier")
done
[ ${#wanted[@]} -gt 0 ] || exit 0
if [ "$prefix" = debian ]; then
    install_debian "${wanted[@]}"
else
    install_macos "${wanted[@]}"
fi
