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

mkdir -p build
echo "== building the product (i686)"
cmake -S . -B build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DVESK_MOCK_PORT="$PORT" >build/cmake-x86.log
cmake --build build/x86 -j"$JOBS"
# The product is one self-contained executable: nothing but Windows' own DLLs may be imported.
for exe in build/x86/veskplay.exe build/x86/uninstaller/unists.exe; do
    headers=$(i686-w64-mingw32-objdump -p "$exe")
    imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
    echo "$exe imports: $imports"
    grep -q 'file format pei-i386' <<<"$headers" || { echo "test.sh: $exe is not PE32" >&2; exit 1; }
    grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "test.sh: $exe is not a GUI program" >&2; exit 1; }
    for dll in $imports; do
        case "$dll" in
            kernel32.dll|user32.dll|gdi32.dll|gdiplus.dll|shell32.dll|ole32.dll|oleaut32.dll|advapi32.dll|\
            comctl32.dll|msvcrt.dll|wininet.dll|bcrypt.dll|iphlpapi.dll|netapi32.dll|snmpapi.dll|ws2_32.dll|\
            sensapi.dll|psapi.dll|shlwapi.dll|urlmon.dll|version.dll) ;;
            *) echo "test.sh: $exe imports $dll, which is not a Windows system DLL" >&2; exit 1 ;;
        esac
    done
done

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
