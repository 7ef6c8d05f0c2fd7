#!/usr/bin/env bash
# Builds the native release and runs the benchmarks; pass --quick for a short
# run, or one of start|throughput|memory|scale.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v valgrind >/dev/null || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq valgrind >/dev/null; }
cmake --preset native-release -DVELMOR_TESTS=OFF >/dev/null
cmake --build --preset native-release --target velmor2 korvan update_runner baseline_start velmor_bench >/dev/null
build/native-release/velmor_bench build/native-release "$@"
