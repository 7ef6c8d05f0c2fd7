#!/usr/bin/env bash
# Installs what is missing, builds both platforms and runs every test:
# natively (ASan, UBSan), then the Windows build under Wine with Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

status=0
echo "== native tests"
ctest --preset native -j "$jobs" || status=1

echo "== Windows tests under Wine"
source scripts/wine-env.sh
xvfb_fd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_fd" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$xvfb_fd" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$xvfb_fd")"
wineserver -p
# Wine's service processes start with the first program of a server and keep
# its standard handles: start them here, away from ctest's pipes, or ctest
# waits for them to close the pipe.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; rm -f "$xvfb_fd"; }
trap cleanup EXIT
ctest --preset windows -j 1 || status=1
bash fuzz/run.sh 30 || status=1
exit $status
