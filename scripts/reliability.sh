#!/usr/bin/env bash
# The long run of the reliability suite: what the normal tests do in a
# bounded way, many times over. Builds both platforms, then
#   - natively: every reliability test, with VELMOR_KILLS kills (250) and
#     VELMOR_LOCK_ROUNDS pairs of updaters in one folder (100);
#   - the Windows build under Wine: the same tests there (sixteen clients
#     under one wineserver, faults, hostile input, the lock);
#   - every fuzz target for FUZZ_SECONDS seconds (600).
# Each test prints its figures on a "[ figures  ]" line.
#   scripts/reliability.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export VELMOR_KILLS="${VELMOR_KILLS:-250}" VELMOR_LOCK_ROUNDS="${VELMOR_LOCK_ROUNDS:-100}"
fuzz_seconds="${FUZZ_SECONDS:-600}"
jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

status=0
echo "== native reliability tests (kills: $VELMOR_KILLS, lock rounds: $VELMOR_LOCK_ROUNDS)"
build/native/velmor_tests --gtest_filter='Reliability*:Cases/Reliability*' | grep -E '^\[( figures|  FAILED|  PASSED|  SKIPPED)' || status=1

echo "== Windows reliability tests under Wine"
source scripts/wine-env.sh
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# Into a file first: a program that Wine starts may keep a pipe open.
wine build/windows/velmor_tests.exe --gtest_filter='Reliability*:Cases/Reliability*' \
  >build/windows/reliability.txt 2>&1 </dev/null || status=1
iconv -f CP932 -t UTF-8 -c build/windows/reliability.txt | grep -E '^\[( figures|  FAILED|  PASSED|  SKIPPED)' || status=1

echo "== fuzzing, ${fuzz_seconds}s per target"
bash fuzz/run.sh "$fuzz_seconds" || status=1
exit $status
