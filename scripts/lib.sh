# Shared by the scripts: Debian packages and the CMake build.
# shellcheck shell=bash

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

BUILD_PACKAGES=(cmake g++ make pkgconf qt6-base-dev)
RUN_PACKAGES=(x11-utils fonts-urw-base35)
TEST_PACKAGES=(libboost-math-dev libbenchmark-dev xvfb xdotool x11-utils fonts-urw-base35
    dpkg-dev file desktop-file-utils appstream time)
CHECK_PACKAGES=(clang clang-format clang-tidy libclang-rt-14-dev)

# Installs whichever of the named packages are missing: as root directly,
# otherwise through sudo; without either, prints the line to run and stops.
ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        [ "$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null)" = installed ] ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local cmd=(apt-get install -y "${missing[@]}")
    echo "Installing Debian packages: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
    elif command -v sudo >/dev/null 2>&1; then
        sudo apt-get update -qq
        sudo DEBIAN_FRONTEND=noninteractive "${cmd[@]}"
    else
        echo "Missing packages; please run as root:" >&2
        echo "  apt-get update && ${cmd[*]}" >&2
        exit 1
    fi
}

# build DIR [cmake options...]: configure if needed, then build.
build() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
