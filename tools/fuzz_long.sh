#!/bin/bash
# Runs the fuzz targets for longer (10 minutes each by default) and keeps the
# corpus they grow in fuzz/corpus-long/<target>/, which the next long run
# starts from (fuzz/.gitignore keeps it out of git). The checked-in seed
# corpus in fuzz/corpus/ is never written.
#
#   bash tools/fuzz_long.sh [TARGET...]
#
# Environment: FUZZ_SECONDS (600) and everything tools/run_fuzzers.sh reads;
# FUZZ_KEEP_CORPUS moves the kept corpus elsewhere.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export FUZZ_SECONDS=${FUZZ_SECONDS:-600}
export FUZZ_KEEP_CORPUS=${FUZZ_KEEP_CORPUS:-$top/fuzz/corpus-long}
exec bash "$top/tools/run_fuzzers.sh" "$@"
