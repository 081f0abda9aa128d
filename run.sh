#!/usr/bin/env bash
# Runs the client the way a new player meets it: the downloaded installer "10001_web.exe" is started from a
# fresh download folder of its own Wine prefix, installs itself and starts the installed copy, which talks to
# the mock platform on loopback. With a display the window appears there and this script waits until you press
# Ctrl+C; without one it runs on a virtual display and writes a screenshot.
# Usage: ./run.sh [--seconds N]   (how long to wait before the screenshot on a virtual display; default 10)
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
SECONDS_BEFORE_SHOT=10
[ "${1:-}" = "--seconds" ] && SECONDS_BEFORE_SHOT=${2:?}

./tools/install-packages.sh
./tools/build-deps.sh
PORT=${VESK_MOCK_PORT:-18080}
cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DVESK_MOCK_PORT="$PORT" >/dev/null
cmake --build build/x64 --target veskplay -j"$(nproc)"

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
HAD_DISPLAY=0
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && HAD_DISPLAY=1
trap vesk_stop_started EXIT
vesk_start_display
vesk_wine_env "$ROOT/.run/prefix"
echo "== preparing a fresh Wine prefix at $WINEPREFIX"
vesk_prepare_prefix
vesk_keep_wine_running

mkdir -p .run
python3 tools/mock_platform.py --port "$PORT" --log "$ROOT/.run/mock_requests.jsonl" >.run/mock_platform.log 2>&1 &
VESK_STARTED_PIDS="$VESK_STARTED_PIDS $!"
for _ in $(seq 100); do grep -q listening .run/mock_platform.log 2>/dev/null && break; sleep 0.1; done
if ! grep -q listening .run/mock_platform.log; then
    echo "run.sh: the mock platform did not start on port $PORT (is the port taken? VESK_MOCK_PORT=N picks another):" >&2
    cat .run/mock_platform.log >&2
    exit 1
fi

DOWNLOADS="$HOME/Downloads"
mkdir -p "$DOWNLOADS"
cp build/x64/veskplay.exe "$DOWNLOADS/10001_web.exe"
echo "== starting $DOWNLOADS/10001_web.exe"
(cd "$DOWNLOADS" && wine ./10001_web.exe >"$ROOT/.run/client.log" 2>&1 </dev/null &)

if [ "$HAD_DISPLAY" = 1 ]; then
    echo "The client runs on $DISPLAY; requests to the mock platform go to .run/mock_requests.jsonl. Ctrl+C ends it."
    while vesk_prefix_busy; do sleep 1; done
else
    sleep "$SECONDS_BEFORE_SHOT"
    import -window root .run/screenshot.png
    echo "No display here: the client ran on the virtual display $DISPLAY."
    echo "Screenshot: $ROOT/.run/screenshot.png"
    echo "Requests it sent to the mock platform: $ROOT/.run/mock_requests.jsonl"
fi
