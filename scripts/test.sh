#!/usr/bin/env bash
# Sets up what is missing, then builds and runs the whole suite twice: in the Release build that
# the packages are made from (hardened as Debian builds, benchmarks compiled too), and under
# AddressSanitizer and UndefinedBehaviorSanitizer. The Release build's three Debian packages are
# checked by lintian and from an unpacked tree; a packager's plain configuration (no tests) is
# configured as well. Ends with CTest's summary line.
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

echo "== Release build with the suite (as a packager builds the programs) =="
# One optimised build serves the suite and the packages, so that CI compiles the programs once.
cmake --preset release -DVISTREL_BUILD_TESTS=ON -DVISTREL_BUILD_BENCH=ON >/dev/null
cmake --build --preset release -j "$jobs"
ctest --test-dir build/release -j "$jobs" --timeout 300 --output-on-failure >build/release-ctest.log 2>&1 ||
    { cat build/release-ctest.log; exit 1; }
tail -n 3 build/release-ctest.log
./scripts/check-package.sh build/release
# What a packager configures: the programs alone.
cmake --preset release -B build/release-plain -DVISTREL_BUILD_TESTS=OFF -DVISTREL_BUILD_BENCH=OFF >/dev/null

if [ -f fuzz/CMakeLists.txt ]; then
    echo "== fuzz harnesses (corpus replay and a short run) =="
    cmake --preset fuzz >/dev/null
    # The harnesses and their instrumented copy of the core; the programs were built above.
    cmake --build --preset fuzz -j "$jobs" --target fuzz_harnesses
    ./fuzz/run.sh build/fuzz 10
fi

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" --timeout 300
