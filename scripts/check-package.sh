#!/usr/bin/env bash
# Builds the Debian package in the build folder given (where the program is
# already built) and checks it: the files an installed Marquill needs, the
# dependencies, the same layout from `cmake --install` into another prefix,
# the installed help's pages and links,
# and the desktop entry and software-centre entry against their validators.
set -euo pipefail
build="$(cd "${1:?usage: check-package.sh BUILD_FOLDER}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb="$(ls "$work"/cpack/marquill_*.deb)"
echo "package: $(basename "$deb")"
dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./usr/||; /\/$/d; /^\.\{0,1\}$/d' | sort >"$work/deb.list"

required=(bin/marquill share/applications/marquill.desktop
          share/metainfo/com.tollbury.marquill.metainfo.xml
          share/icons/hicolor/scalable/apps/marquill.svg
          share/marquill/help/index.html share/marquill/tips.txt
          share/doc/marquill/copyright lib/marquill/marquill_web_preview.so)
for size in 16 24 32 48 64 128 256; do
    required+=("share/icons/hicolor/${size}x${size}/apps/marquill.png")
done
for path in "${required[@]}"; do
    grep -qxF "$path" "$work/deb.list" || fail "the package lacks /usr/$path"
done

# Libraries the program links come from dpkg-shlibdeps; the plugins and data
# Qt loads at run time are named by hand.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for dep in libqscintilla2-qt6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins qt6-translations-l10n \
           fonts-noto-cjk libtidy5deb1 libqt6webenginewidgets6 libqt6webenginecore6-bin; do
    [[ ", $depends" == *", $dep"* ]] || fail "Depends lacks $dep"
done

# An install into any prefix has the package's layout.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$work/prefix" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/prefix.list"
diff -u "$work/deb.list" "$work/prefix.list" || fail "cmake --install lays out other files than the package"

# The installed help: its pages well formed, its links and images found.
"$(dirname "$0")/check-help.py" "$work/prefix/share/marquill/help" || fail "the help's pages or links"

desktop-file-validate --no-hints "$work/prefix/share/applications/marquill.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic \
    "$work/prefix/share/metainfo/com.tollbury.marquill.metainfo.xml" || fail "appstreamcli validate"
# The software-centre entry together with the desktop entry and icon it names.
appstreamcli validate-tree --no-net --pedantic "$work/prefix" || fail "appstreamcli validate-tree"
echo

[ "$failures" -eq 0 ] && echo "package checks passed"
exit "$failures"
