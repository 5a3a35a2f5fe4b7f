#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into ./build-fuzz (or
# $QUILO_FUZZ_DIR) and runs each for a set time, QUILO_JOBS (2) targets at a
# time (each fuzzer uses one core), starting from the committed
# seed corpora in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/<target>/, crashes to build-fuzz/artifacts/. Exits
# non-zero when any target finds a crash, a leak, a time-out or a broken
# invariant.
#
#   scripts/fuzz.sh                 every target, 60 s each
#   scripts/fuzz.sh --smoke         every target, 15 s each (CI)
#   scripts/fuzz.sh --time 300 fuzz_program fuzz_odds
#
# Corpus and input paths given to a target by hand must be absolute: the
# targets work in a temporary folder of their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILO_FUZZ_DIR:-$root/build-fuzz}
jobs=${QUILO_JOBS:-2}
seconds=60
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) seconds=15 ;;
    --time) seconds=$2; shift ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] ||
  targets=(fuzz_tables fuzz_teaching fuzz_odds fuzz_fields fuzz_scenario fuzz_program fuzz_journal fuzz_history)

. "$root/scripts/ccache.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILO_FUZZ=ON \
    "${compiler_cache[@]}"
fi
if [ -n "${QUILO_WERROR:-}" ]; then
  cmake -S "$root" -B "$build" -DQUILO_WERROR="$QUILO_WERROR" >/dev/null
fi
cmake --build "$build" -j "$jobs" --target quilo_fuzz

# Short allocation stacks and a small quarantine: several times the executions
# per second. Re-run a crashing input with ASAN_OPTIONS= for full stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:malloc_context_size=4:quarantine_size_mb=32}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

mkdir -p "$build/artifacts" "$build/logs"

# Runs one target; its exit status goes to logs/<target>.status.
run_target() {
  local t=$1 corpus=$build/corpus/$1 log=$build/logs/$1.log dict=() status=0
  mkdir -p "$corpus"
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  # A history file of a few races is a few KB (512-byte pages) with its log.
  local max_len=4096
  [ "$t" = fuzz_history ] && max_len=16384
  (cd "$build" && "./fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
      "${dict[@]}" "$corpus" "$root/fuzz/corpus/$t") >"$log" 2>&1 || status=$?
  echo "$status" >"$build/logs/$t.status"
}

running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  echo "== $t: ${seconds} s"
  rm -f "$build/logs/$t.status"
  run_target "$t" &
  running=$((running + 1))
done
wait

failed=()
summary=()
for t in "${targets[@]}"; do
  log=$build/logs/$t.log
  status=$(cat "$build/logs/$t.status" 2>/dev/null || echo "?")
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  speed=$(grep -o 'exec/s: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo "?")
  if [ "$status" != 0 ]; then
    failed+=("$t")
    summary+=("$(printf '%-14s FAILED  see %s' "$t" "$log")")
    grep -E 'ERROR|invariant failed|SUMMARY|Test unit written' "$log" | head -5 >&2 || true
  else
    summary+=("$(printf '%-14s ok  %9s runs  %6s exec/s  cov %s' "$t" "$runs" "$speed" "$cov")")
  fi
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs in $build/artifacts/)" >&2
  exit 1
fi
echo "fuzz: no findings"
