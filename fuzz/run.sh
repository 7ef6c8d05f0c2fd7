#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) in build/fuzz and runs
# each for the given number of seconds (default 30), two at a time. Prints
# each target's executions; exits non-zero when any target finds a fault
# (its crash input is then saved in build/fuzz/findings/).
#   fuzz/run.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build/fuzz
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

mkdir -p "$build/findings"
targets=()
for exe in "$build"/fuzz_*; do [ -x "$exe" ] && targets+=("$(basename "$exe")"); done

run_one() {
  local name=$1 corpus="$build/corpus/$1" seeds="fuzz/seeds/${1#fuzz_}"
  mkdir -p "$corpus"
  local dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  # Inputs up to 64 KiB: the text reader's chunk, so a line can span two.
  "$build/$name" -max_total_time="$seconds" -max_len=70000 -timeout=10 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$name-" "${dirs[@]}" \
    >"$build/$name.log" 2>&1
}

pids=()
names=()
status=0
report() {
  local name=$1 rc=$2
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$name.log" | tail -1)
  if [ "$rc" -eq 0 ]; then
    printf 'fuzz %-16s %10s executions in %ss: clean\n' "$name" "${execs:-?}" "$seconds"
  else
    printf 'fuzz %-16s %10s executions: FAULT (see %s)\n' "$name" "${execs:-?}" "$build/$name.log"
    grep -m5 -E 'ERROR|check failed|SUMMARY' "$build/$name.log" || true
    status=1
  fi
}
jobs=$(nproc)
for name in "${targets[@]}"; do
  run_one "$name" &
  pids+=($!)
  names+=("$name")
  if ((${#pids[@]} >= jobs)); then
    rc=0; wait "${pids[0]}" || rc=$?
    report "${names[0]}" "$rc"
    pids=("${pids[@]:1}"); names=("${names[@]:1}")
  fi
done
for i in "${!pids[@]}"; do
  rc=0; wait "${pids[$i]}" || rc=$?
  report "${names[$i]}" "$rc"
done
exit $status
