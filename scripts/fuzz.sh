#!/usr/bin/env bash
# Builds the fuzz targets of the portable core with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each from the seed corpus in fuzz/corpus.
#
#   scripts/fuzz.sh                  every target, 20000 runs each (what scripts/test.sh runs)
#   scripts/fuzz.sh 10000000 ini_store
#   TX9_FUZZ_SECONDS=1800 scripts/fuzz.sh 0 match_rules      a long run: 30 minutes, no run limit
#
# New inputs go to build/fuzz/work/<target>; a finding is written there as crash-* and fails the script.
set -uo pipefail
TX9_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$TX9_ROOT"

runs="${1:-20000}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(ini_store settings_load checkout_table match_rules entry_model journal)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is missing (scripts/deps.sh installs it)" >&2
  exit 1
fi
CXX=clang++ cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/fuzz-configure.log 2>&1 \
  || { cat build/fuzz-configure.log; exit 1; }
ninja -C build/fuzz >build/fuzz-build.log 2>&1 || { cat build/fuzz-build.log; exit 1; }

status=0
for target in "${targets[@]}"; do
  work="build/fuzz/work/$target"
  mkdir -p "$work"
  log="build/fuzz/$target.log"
  limits=(-runs="$runs")
  [ -n "${TX9_FUZZ_SECONDS:-}" ] && limits=(-max_total_time="$TX9_FUZZ_SECONDS")
  [ "$runs" = 0 ] && [ -z "${TX9_FUZZ_SECONDS:-}" ] && limits=()
  start=$(date +%s)
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$TX9_ROOT/build/fuzz/fuzz_$target" -seed=1 "${limits[@]}" \
     -print_final_stats=1 . "$TX9_ROOT/fuzz/corpus/$target") >"$log" 2>&1
  code=$?
  seconds=$(( $(date +%s) - start ))
  done_runs=$(grep -a -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  coverage=$(grep -a -o 'cov: [0-9]*' "$log" | tail -1)
  if [ "$code" -eq 0 ]; then
    echo "fuzz $target: ${done_runs:-?} runs in ${seconds}s, ${coverage:-cov: ?}, no finding"
  else
    echo "fuzz $target: FINDING after ${done_runs:-?} runs (exit $code); input and log in $work, $log"
    grep -a -E 'does not hold|ERROR|runtime error|SUMMARY' "$log" | head -5
    status=1
  fi
done
exit "$status"
