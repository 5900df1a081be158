#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need. Idempotent.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  libxlsxwriter-dev libfreexl-dev libquazip1-qt6-dev libcsv-dev
  fonts-noto-core
  googletest libgtest-dev libbenchmark-dev poppler-utils
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  # The server package asks for a SYSDBA password through debconf; the tests set their own.
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
