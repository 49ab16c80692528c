#!/usr/bin/env bash
# Runs every test of the project on a fresh Debian 12 machine:
# installs the packages, configures, builds (warnings are errors, with
# AddressSanitizer and UndefinedBehaviorSanitizer), runs the test suite, the
# benchmarks and fuzz targets as short smoke runs, and prints a summary.
#
#   scripts/test.sh            everything
#   LVX_FUZZ_SECONDS=60 scripts/test.sh    longer fuzz runs
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
JOBS=${LVX_JOBS:-2}
FUZZ_SECONDS=${LVX_FUZZ_SECONDS:-15}
BUILD=${LVX_TEST_BUILD_DIR:-$ROOT/build-test}
FUZZ_BUILD=${LVX_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
TSAN_BUILD=${LVX_TSAN_BUILD_DIR:-$ROOT/build-tsan}

scripts/setup.sh || { echo "setup failed"; exit 1; }

# Rendering tests need no X server (Mesa's surfaceless EGL platform); the few
# tests of the SDL window start their own Xvfb.
export SDL_AUDIODRIVER=dummy
# The leak checker's own walk over the dynamic TLS blocks of the GL driver
# (loaded with dlopen) can crash on Debian's glibc; without intercepting
# __tls_get_addr it scans static TLS and the heap only.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0

failures=()

echo "== configure and build (sanitizers on)"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DLVX_SANITIZE=ON -DLVX_WERROR=ON -DLVX_BUILD_TESTS=ON -DLVX_BUILD_BENCH=ON >/dev/null \
  && cmake --build "$BUILD" -j "$JOBS" || { echo "build failed"; exit 1; }

echo "== unit and pixel tests"
ctest --test-dir "$BUILD" -j "$JOBS" --output-on-failure --timeout 300 | tee "$BUILD/ctest.log"
ctest_rc=${PIPESTATUS[0]}
[ "$ctest_rc" -eq 0 ] || failures+=("ctest")

echo "== benchmarks (smoke runs)"
for bench in "$BUILD"/bin/bench_*; do
  [ -x "$bench" ] || continue
  if ! "$bench" --benchmark_min_time=0.01 >"$bench.log" 2>&1; then
    echo "benchmark failed: $(basename "$bench")"; tail -20 "$bench.log"; failures+=("$(basename "$bench")")
  else
    echo "ok: $(basename "$bench")"
  fi
done

echo "== editing while the scene plays, under ThreadSanitizer"
if cmake -S . -B "$TSAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLVX_SANITIZE_THREAD=ON \
     -DLVX_WERROR=ON -DLVX_BUILD_TESTS=ON -DLVX_BUILD_BENCH=OFF -DLVX_BUILD_EXAMPLES=OFF >/dev/null \
   && cmake --build "$TSAN_BUILD" -j "$JOBS" --target test_editor_document; then
  if QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tests/tsan.supp" \
       "$TSAN_BUILD/bin/test_editor_document" --gtest_filter='EditWhilePlaying*:ObjectEdit*' >"$TSAN_BUILD/tsan.log" 2>&1; then
    echo "ok: no data race reported"
  else
    echo "ThreadSanitizer run failed"; grep -A30 -m3 "WARNING: ThreadSanitizer" "$TSAN_BUILD/tsan.log"; tail -20 "$TSAN_BUILD/tsan.log"
    failures+=("tsan")
  fi
else
  failures+=("tsan build")
fi

echo "== fuzz targets (${FUZZ_SECONDS}s each, clang + sanitizers)"
if CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DLVX_SANITIZE=ON -DLVX_WERROR=ON -DLVX_BUILD_FUZZ=ON -DLVX_BUILD_TESTS=OFF -DLVX_BUILD_BENCH=OFF -DLVX_BUILD_EXAMPLES=OFF -DLVX_BUILD_EDITOR=OFF >/dev/null \
   && cmake --build "$FUZZ_BUILD" -j "$JOBS"; then
  for fuzz in "$FUZZ_BUILD"/bin/fuzz_*; do
    [ -x "$fuzz" ] || continue
    name=$(basename "$fuzz")
    corpus_seed="$ROOT/tests/fuzz/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    [ -d "$corpus_seed" ] && cp -r "$corpus_seed"/. "$work"/
    if "$fuzz" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=4096 -print_final_stats=0 "$work" >"$fuzz.log" 2>&1; then
      echo "ok: $name"
    else
      echo "fuzz target failed: $name"; tail -40 "$fuzz.log"; failures+=("$name")
    fi
    rm -rf "$work"
  done
else
  failures+=("fuzz build")
fi

echo "== summary"
passed=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$BUILD/ctest.log" | tail -1)
echo "${passed:-no ctest summary}"
if [ ${#failures[@]} -eq 0 ]; then
  echo "ALL TESTS PASSED"
  exit 0
fi
echo "FAILED: ${failures[*]}"
exit 1
