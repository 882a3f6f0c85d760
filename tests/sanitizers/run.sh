#!/usr/bin/env bash
# Runs the test suite of a sanitizer build (configured with -DQUORIN_SANITIZE=ON) with
# the sanitizer options that make every finding fail its test.
#
#   tests/sanitizers/run.sh BUILD_DIR [CTEST_ARGS...]
#
# Exits with ctest's status. Options already in ASAN_OPTIONS, LSAN_OPTIONS or
# UBSAN_OPTIONS are kept and override these.
set -euo pipefail

if [ $# -lt 1 ] || [ ! -f "$1/CTestTestfile.cmake" ]; then
    echo "usage: $0 BUILD_DIR [CTEST_ARGS...]  (BUILD_DIR: a configured and built tree)" >&2
    exit 2
fi
build=$1
shift
if ! grep -q '^QUORIN_SANITIZE:BOOL=ON$' "$build/CMakeCache.txt"; then
    echo "$build was not configured with -DQUORIN_SANITIZE=ON" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Leaks are checked at each test program's exit; use-after-return and the order of
# static initialisation are checked too, which the defaults leave off.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
# Leaks that belong to system libraries are listed, with reasons, in lsan.supp.
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The build already stops at the first undefined behaviour; the stack says where.
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

cd "$build"
exec ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@"
