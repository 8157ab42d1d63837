#!/usr/bin/env bash
# Installs the Debian packages the build, the application and the tests need (only those
# missing), then configures and builds into build/. Used by ./run and ./test.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-odbc libgl-dev
  libqt6sql6-psql postgresql-15 libpq-dev
  libxlsxwriter-dev
  unixodbc libsqliteodbc tdsodbc libsqlite3-dev sqlite3
  fonts-noto-cjk poppler-utils unzip qt6-translations-l10n python3-openpyxl
  nodejs npm
)
# Node.js and npm run the T-SQL check (tools/tsqlcheck). A node and npm already on the PATH stay
# as they are (a newer Node.js from nodesource bundles its own npm and conflicts with Debian's).
installed() {
  case "$1" in
    nodejs) command -v node >/dev/null 2>&1 ;;
    npm) command -v npm >/dev/null 2>&1 ;;
    *) dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" ;;
  esac
}
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  # The tests start PostgreSQL servers of their own; the package's default cluster is not wanted.
  if [[ " ${missing[*]} " == *" postgresql-15 "* ]] && [ ! -e /etc/postgresql-common/createcluster.conf ]; then
    "${sudo_cmd[@]}" mkdir -p /etc/postgresql-common
    echo "create_main_cluster = false" | "${sudo_cmd[@]}" tee /etc/postgresql-common/createcluster.conf >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The T-SQL check's parser, at the version package-lock.json pins, when it is missing or the
# lock file changed since it was installed.
(
  cd tools/tsqlcheck
  if ! cmp -s package-lock.json node_modules/.installed-lock; then
    npm ci --no-audit --no-fund --loglevel=error
    cp package-lock.json node_modules/.installed-lock
  fi
)

# Compiler cache hits across checkouts in different folders (CI clones afresh).
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
