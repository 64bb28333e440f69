#!/usr/bin/env bash
# Every test of the project: installs what it needs, builds, and runs the unit
# and end-to-end suites.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_dependencies.sh --tests

cmake --preset debug
cmake --build --preset debug -j"$(nproc)"
ctest --preset debug -j2
