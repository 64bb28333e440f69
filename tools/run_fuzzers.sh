#!/bin/bash
# Builds the fuzz targets (preset "fuzz": clang 14, libFuzzer, address and
# undefined-behaviour sanitizers) and runs each one for a bounded time on a
# copy of its seed corpus, after replaying its saved reproducers. Fails when
# any target finds a crash, a leak, a time-out or a broken property.
#
#   bash tools/run_fuzzers.sh [TARGET...]      # default: every fuzz/*_fuzzer.cpp
#
# Environment:
#   FUZZ_SECONDS       seconds per target (30)
#   FUZZ_MAX_LEN       longest input in bytes (16384 for page targets, 4096 others)
#   FUZZ_RSS_LIMIT_MB  memory limit per target (1536)
#   FUZZ_TIMEOUT       seconds one input may take (10)
#   FUZZ_JOBS          parallel compile jobs (2)
#   FUZZ_SEED          libFuzzer's random seed (random)
#   FUZZ_KEEP_CORPUS   a folder to keep the grown corpus in, one subfolder per
#                      target (tools/fuzz_long.sh sets it); without it the run
#                      works on a temporary copy and the checked-in corpus is
#                      never written.
#
# Findings are copied to build/fuzz/findings/<target>/; to reproduce one:
#   build/fuzz/fuzz/<target> build/fuzz/findings/<target>/<file>
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

seconds=${FUZZ_SECONDS:-30}
rss_limit=${FUZZ_RSS_LIMIT_MB:-1536}
timeout=${FUZZ_TIMEOUT:-10}
jobs=${FUZZ_JOBS:-2}
keep_corpus=${FUZZ_KEEP_CORPUS:-}
build=build/fuzz
findings=$build/findings

install_missing() {
  local missing=()
  command -v clang++-14 >/dev/null || missing+=(clang-14)
  [ -e /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ] ||
    ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
    missing+=(libclang-rt-14-dev)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v ninja >/dev/null || missing+=(ninja-build)
  [ -e /usr/include/x86_64-linux-gnu/curl/curl.h ] || [ -e /usr/include/curl/curl.h ] ||
    missing+=(libcurl4-openssl-dev)
  [ ${#missing[@]} -eq 0 ] && return
  echo "Installing ${missing[*]}"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq "${missing[@]}"
}

max_len_of() {
  if [ -n "${FUZZ_MAX_LEN:-}" ]; then
    echo "$FUZZ_MAX_LEN"
  else
    case $1 in
      parse_item_page_fuzzer | result_link_fuzzer) echo 16384 ;;
      *) echo 4096 ;;
    esac
  fi
}

install_missing
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target orvel_fuzzers -j "$jobs"

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/*_fuzzer.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvel-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

failed=()
summary=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  if [ ! -x "$binary" ]; then
    echo "No fuzz target $target" >&2
    failed+=("$target")
    continue
  fi
  work=$scratch/$target
  mkdir -p "$work/artifacts"
  if [ -n "$keep_corpus" ]; then
    corpus=$keep_corpus/$target
    mkdir -p "$corpus"
  else
    corpus=$work/corpus
    mkdir -p "$corpus"
  fi
  # The seeds go into the working corpus, which libFuzzer grows; the
  # checked-in folder is only read.
  if [ -d "fuzz/corpus/$target" ]; then
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  fi
  options=(-max_len="$(max_len_of "$target")" -rss_limit_mb="$rss_limit"
           -timeout="$timeout" -artifact_prefix="$work/artifacts/" -print_final_stats=1)
  [ -f "fuzz/dictionaries/$target.dict" ] && options+=(-dict="fuzz/dictionaries/$target.dict")
  [ -n "${FUZZ_SEED:-}" ] && options+=(-seed="$FUZZ_SEED")

  echo "=== $target: ${seconds}s"
  problems=()
  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$binary" "${options[@]}" "${regressions[@]}" >"$work/regressions.log" 2>&1; then
      problems+=("a saved reproducer fails")
      grep -E -A1 'broken property|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error|^Running' \
        "$work/regressions.log" | head -n 40 || tail -n 30 "$work/regressions.log"
    fi
  fi
  if ! "$binary" "${options[@]}" -max_total_time="$seconds" "$corpus" >"$work/fuzz.log" 2>&1; then
    problems+=("finding")
    grep -E -A3 'broken property|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error' \
      "$work/fuzz.log" | head -n 40 || tail -n 40 "$work/fuzz.log"
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log" | tail -n 1)
  if compgen -G "$work/artifacts/*" >/dev/null; then
    mkdir -p "$findings/$target"
    cp "$work/artifacts/"* "$findings/$target/"
    for artifact in "$work/artifacts/"*; do
      echo "reproduce: $binary $findings/$target/$(basename "$artifact")"
    done
  fi
  status=ok
  if [ ${#problems[@]} -gt 0 ]; then
    status=$(IFS=,; echo "${problems[*]}")
    failed+=("$target")
  fi
  summary+=("$(printf '%-26s %12s  %s' "$target" "${executions:-?}" "$status")")
done

echo
printf '%-26s %12s  %s\n' target executions result
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]}" >&2
  exit 1
fi
