#!/usr/bin/env bash
# Builds both architectures and runs every test: the Windows tests under Wine on a (virtual) display,
# the mock platform's own tests, and the end-to-end tests against the mock platform.
# Usage: ./test.sh [ctest arguments, e.g. -R Settings]
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

./tools/install-packages.sh
./tools/build-deps.sh

PORT=${VESK_MOCK_PORT:-18080}
JOBS=$(nproc)

echo "== building the product (i686)"
cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DVESK_MOCK_PORT="$PORT" >build/cmake-x86.log
cmake --build build/x86 -j"$JOBS"
echo "== building the program and its tests (x86_64)"
cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DVESK_BUILD_TESTS=ON \
    -DVESK_MOCK_PORT="$PORT" >build/cmake-x64.log
cmake --build build/x64 -j"$JOBS"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
trap vesk_stop_started EXIT
vesk_start_display
vesk_wine_env "$ROOT/build/x64/wineprefix"
echo "== preparing a fresh Wine prefix at $WINEPREFIX"
vesk_prepare_prefix
vesk_keep_wine_running

if [ -f tools/mock_platform.py ]; then
    export VESK_MOCK_LOG="$ROOT/build/x64/mock_requests.jsonl"
    export VESK_MOCK_PORT="$PORT"
    python3 tools/mock_platform.py --port "$PORT" --log "$VESK_MOCK_LOG" >build/x64/mock_platform.log 2>&1 &
    VESK_STARTED_PIDS="$VESK_STARTED_PIDS $!"
    for _ in $(seq 100); do grep -q listening build/x64/mock_platform.log 2>/dev/null && break; sleep 0.1; done
    if ! grep -q listening build/x64/mock_platform.log; then
        echo "test.sh: the mock platform did not start on port $PORT (is the port taken? VESK_MOCK_PORT=N picks another):" >&2
        cat build/x64/mock_platform.log >&2
        exit 1
    fi
fi

echo "== running the tests"
cd build/x64
ctest --output-on-failure -j"$JOBS" "$@"
