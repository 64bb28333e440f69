#!/usr/bin/env bash
# Installs what building, the demo and the tests need on Debian 12.
# Run as root (or through sudo). Packages only: nothing else is downloaded.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcurl4-openssl-dev
  python3 openssl ca-certificates
)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  sudo_if_needed=()
  [[ $(id -u) -ne 0 ]] && sudo_if_needed=(sudo)
  "${sudo_if_needed[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_if_needed[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
