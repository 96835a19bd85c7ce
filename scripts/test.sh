#!/usr/bin/env bash
# Sets up what is missing, then builds and runs the whole suite twice: a normal build, and one
# under AddressSanitizer and UndefinedBehaviorSanitizer. A Release build of the programs checks
# what a packager's build sees; its three Debian packages are checked by lintian and from an
# unpacked tree. Ends with CTest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs=$(nproc)

echo "== Qt only in the program's folder =="
# The core, Halvex32 and the tools build without Qt; every widget lives under app/.
qt_outside=$(git ls-files '*.cpp' '*.h' | grep -v -E '^(app|tests)/' | xargs grep -l -E '^\s*#\s*include\s*<Q' || true)
if [ -n "$qt_outside" ]; then
    echo "Qt headers included outside app/:" >&2
    echo "$qt_outside" >&2
    exit 1
fi

echo "== normal build =="
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs" --timeout 300 > build/dev-ctest.log 2>&1 || { cat build/dev-ctest.log; exit 1; }
tail -n 3 build/dev-ctest.log

echo "== Release build of the programs (as a packager builds them) =="
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
./scripts/check-package.sh build/release

if [ -f fuzz/CMakeLists.txt ]; then
    echo "== fuzz harnesses (corpus replay and a short run) =="
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$jobs"
    ./fuzz/run.sh build/fuzz 10
fi

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" --timeout 300
