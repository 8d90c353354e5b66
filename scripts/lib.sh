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
    libicu-dev nlohmann-json3-dev libgtest-dev libgmock-dev googletest gettext fonts-noto-cjk
    qt6-translations-l10n)

build_jobs()
{
    nproc 2>/dev/null || echo 2
}

# start_virtual_display [FIRST LAST]: starts Xvfb on the first free display from :FIRST to :LAST
# (:81 to :89 by default) and sets DISPLAY to it, for Windows programs under Wine;
# VIRTUAL_DISPLAY_PID is the server's process. Returns 1 when none is free.
start_virtual_display()
{
    local first=${1:-81} last=${2:-89} n
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        VIRTUAL_DISPLAY_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
            kill -0 "$VIRTUAL_DISPLAY_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true
    done
    echo "no free display among :$first to :$last" >&2
    return 1
}

stop_virtual_display()
{
    if [ -n "${VIRTUAL_DISPLAY_PID:-}" ]; then
        kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true
        VIRTUAL_DISPLAY_PID=""
    fi
}
