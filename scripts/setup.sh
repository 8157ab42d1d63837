#!/usr/bin/env bash
# Installs the Debian packages the build, the application and the tests need (only those
# missing), then configures and builds into build/. Used by ./run and ./test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-odbc libgl-dev
  libxlsxwriter-dev
  unixodbc libsqliteodbc tdsodbc libsqlite3-dev sqlite3
  fonts-noto-cjk poppler-utils unzip
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Compiler cache hits across checkouts in different folders (CI clones afresh).
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
