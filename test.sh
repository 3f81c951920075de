#!/usr/bin/env bash
# Installs what is missing, builds Marquill and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
marquill_install_packages
marquill_build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
