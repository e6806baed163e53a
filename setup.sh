#!/usr/bin/env bash
# Set-up for a Debian machine: installs what is missing, builds, then either
# launches Pictavo ("run") or runs every test ("test"). Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
if [[ "$mode" != run && "$mode" != test ]]; then
    echo "usage: $0 run|test" >&2
    exit 2
fi

packages=(
    cmake g++ make pkg-config
    qtbase5-dev libqt5webkit5-dev qtscript5-dev qttools5-dev-tools libfreetype-dev
    xvfb xauth
    fonts-font-awesome fonts-fork-awesome fonts-material-design-icons-iconfont
    fonts-materialdesignicons-webfont fonts-elusive-icons fonts-lato
)
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The LESS compiler, pinned by package-lock.json.
if [[ ! -f node_modules/less/dist/less-1.4.1.min.js || package-lock.json -nt node_modules/.package-lock.json ]]; then
    npm ci --no-audit --no-fund --loglevel=error
fi

[[ -f build/CMakeCache.txt ]] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"

if [[ "$mode" == run ]]; then
    exec build/bin/pictavo
fi
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
