#!/usr/bin/env bash
# Installs the Debian packages Marquill needs (when missing) and builds it in build/.
# Sourced by run.sh and test.sh.
set -euo pipefail

MARQUILL_PACKAGES=(cmake g++ ninja-build pkg-config qt6-base-dev libqscintilla2-qt6-dev
                   libgl-dev fonts-noto-cjk qt6-translations-l10n
                   qt6-svg-dev # the SVG icon engine (libqt6svg6) draws the icons
                   libtidy-dev # the HTML checker behind 文書のチェック
                   qt6-webengine-dev # the preview's browser engine, a plugin loaded on first use
                   libacl1-dev # access control lists kept by a save
                   dpkg-dev file # CPack's Debian package: dpkg-shlibdeps finds the dependencies
                   desktop-file-utils appstream) # validators of the desktop and software-centre entries

marquill_install_packages() {
    local missing=()
    for p in "${MARQUILL_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

marquill_build() {
    local top
    top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    local launcher=()
    # A compiler cache, where one is installed, makes rebuilds of other checkouts cheap.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
    cmake --build "$top/build" -j2 "$@"
}
