#!/usr/bin/env bash
# Builds the Debian package build/marquill_<version>_<arch>.deb from this tree
# (installs what is missing, builds the program in build/, then runs CPack).
# Install it with: sudo apt-get install ./build/marquill_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
marquill_install_packages
marquill_build --target marquill
(cd build && cpack -G DEB)
