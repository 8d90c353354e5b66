# Shared by the scripts: installs missing Debian packages, as root or through sudo.
# shellcheck shell=bash

ensure_packages()
{
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    as_root apt-get update -qq
    as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Runs a command as root, through sudo when needed, without questions from Debian's tools.
as_root()
{
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "$@"
}

# What building and testing the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev fonts-dejavu-core
    libicu-dev nlohmann-json3-dev libgtest-dev libgmock-dev googletest)

build_jobs()
{
    nproc 2>/dev/null || echo 2
}
