#!/usr/bin/env bash
# Installs what is missing, builds, and then plays or tests.
#   ./dev.sh play   build and start the game
#   ./dev.sh test   build and run every test
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-play}
case "$mode" in play|test) ;; *) echo "usage: $0 play|test" >&2; exit 2 ;; esac

missing=()
while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done < packaging/debian-packages.txt
if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"

if [[ $mode == play ]]; then
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        echo "No display: run it under Xvfb, e.g. xvfb-run -s '-screen 0 1280x1024x24' build/bin/mnemira" >&2
        exit 1
    fi
    exec build/bin/mnemira
fi
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300
