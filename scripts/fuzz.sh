#!/usr/bin/env bash
# Runs the fuzz targets (fuzz/fuzz_*.cpp) with libFuzzer for a bounded time.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 60); TARGETs by name (tag_scan, encoding, ...;
# default all). Builds with clang, the address and undefined-behaviour
# sanitizers in build-fuzz/, starting from the seed corpus in fuzz/corpus/.
# New inputs go to build-fuzz/corpus/<target>; an input that finds a fault is
# written to build-fuzz/findings/ and named at the end. Copy it into
# fuzz/corpus/<target>/ once the fault is fixed, so ./test.sh replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
# clang and libFuzzer's runtime, for fuzzing only.
marquill_install_packages clang libclang-rt-14-dev

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in fuzz/fuzz_*.cpp; do
        n="$(basename "$f" .cpp)"
        targets+=("${n#fuzz_}")
    done
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DMARQUILL_FUZZ=ON -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/findings
failed=()
for t in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$t"
    echo "== $t: ${seconds} s"
    if ! ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
         "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
         -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t-" \
         "build-fuzz/corpus/$t" "fuzz/corpus/$t" 2>"build-fuzz/$t.log"; then
        failed+=("$t")
    fi
    grep -E "^(stat::number_of_executed_units|stat::new_units_added)" "build-fuzz/$t.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Faults found by: ${failed[*]} (inputs in build-fuzz/findings/, logs in build-fuzz/*.log)" >&2
    exit 1
fi
echo "No faults found."
