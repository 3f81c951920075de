#!/usr/bin/env bash
# Installs what is missing, builds Marquill and starts it on FILE (optional).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
marquill_install_packages
marquill_build --target marquill
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Start Marquill under a virtual display, for example:" >&2
    echo "  apt-get install xvfb && xvfb-run -a ./run.sh ${1:-}" >&2
    exit 1
fi
exec ./build/marquill "$@"
