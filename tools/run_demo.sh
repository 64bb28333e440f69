#!/usr/bin/env bash
# The main job: builds the plug-in and the stand-in host, starts the sample
# store on 127.0.0.1, looks up the sample code list, and shows the output.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_dependencies.sh

cmake --preset release -DORVEL_BUILD_TESTS=OFF -DORVEL_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build --preset release -j"$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'kill "$store_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp tests/sample_store/work/* "$work"/ 2>/dev/null || true
/usr/bin/python3 tests/sample_store/server.py --port-file "$work/port" \
  --ca-out "$work/store.pem" --lifetime 300 &
store_pid=$!
for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done

export ORVEL_STORE_HOST="127.0.0.1:$(cat "$work/port")"
export ORVEL_CA_FILE="$work/store.pem"
build/release/bin/korvane.exe --work "$work" --out "$work/books.csv" --show \
  tests/sample_store/demo_codes.txt
