#!/usr/bin/env bash
# Every test of the project: installs what it needs, then runs the unit and
# end-to-end suites in the normal build and again under the address and
# undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_dependencies.sh --tests

for preset in debug sanitize; do
  echo "== $preset build"
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j2
done

echo "== Windows builds and Wine"
bash tools/run_wine_tests.sh

# A fixed seed makes the bounded run repeat itself, so that a finding is
# never a matter of luck here; tools/fuzz_long.sh explores with random seeds.
echo "== fuzz targets"
FUZZ_SEED=${FUZZ_SEED:-20261211} bash tools/run_fuzzers.sh
