#!/usr/bin/env bash
# Installs the Debian 12 packages the register needs to build, run and be tested.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-odbc libqt6opengl6-dev
  libgl-dev libvulkan-dev
  unixodbc unixodbc-dev odbc-mariadb mariadb-server mariadb-client
  sqlite3 libsqlite3-dev
  cups cups-client libcups2-dev
  libcurl4-openssl-dev openssl python3-aiosmtpd
  fonts-ipaexfont-gothic fonts-ipafont-gothic xvfb xauth x11-apps imagemagick poppler-utils locales
)
# npm brings the banks' codes (zengin-code) for the tests; a machine with Node.js from elsewhere has it already.
command -v npm >/dev/null 2>&1 || pkgs+=(npm)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
