#!/usr/bin/env bash
# Renders the program icon PNGs from src/resources/icons/app/marquill.svg and the
# toolbar icon contact sheet docs/screenshots/toolbar-icons.png. Run after
# changing any icon SVG, then commit the results.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
source "$top/scripts/setup.sh"
marquill_install_packages
marquill_build --target render_icons
export QT_QPA_PLATFORM=offscreen
"$top/build/render_icons" app "$top/src/resources/icons/app/marquill.svg" "$top/src/resources/icons/app"
"$top/build/render_icons" sheet "$top/docs/screenshots/toolbar-icons.png"
