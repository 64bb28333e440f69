#!/usr/bin/env bash
# The Windows build: orvel.dll and korvane.exe for 32-bit Windows (the
# plug-in as the host loads it), their exports checked; and the same sources
# built for 64-bit Windows and run under Wine against the sample store, with
# output files compared byte for byte with the Linux build's.
#
# Needs the Linux debug build in build/debug (tools/run_all_tests.sh makes it).
# 32-bit programs run under Wine only where the kernel runs 32-bit code; the
# machines this project runs on do not, so the Wine runs use the 64-bit build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32 wine wine64 locales)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
sudo_if_needed=()
[[ $(id -u) -ne 0 ]] && sudo_if_needed=(sudo)
if ((${#missing[@]})); then
  "${sudo_if_needed[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_if_needed[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  "${sudo_if_needed[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  "${sudo_if_needed[@]}" locale-gen >/dev/null
fi

echo "== Windows build (32-bit)"
cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
ctest --preset windows -R '^wine\.exports$'

echo "== Windows build (64-bit) under Wine"
cmake --preset windows-x64
cmake --build --preset windows-x64 -j"$(nproc)"
ctest --preset windows-x64 -R '^wine\.(prefix|stop|exports|floating_point|half_width|ini|e2e_books)$'
