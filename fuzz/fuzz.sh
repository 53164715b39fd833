#!/usr/bin/env bash
# The fuzz targets, built with clang and run by libFuzzer.
#   fuzz/fuzz.sh build DIR                  configures (once) and builds them in DIR
#   fuzz/fuzz.sh run DIR SECONDS [TARGET..] runs each (all by default) for SECONDS
# Seeds come from fuzz/corpus/TARGET; new inputs go to DIR/corpus/TARGET, any
# crashing input to DIR/crashes/. Exits 77 (skipped) when clang or libFuzzer
# is missing, after saying so.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
targets=(bookmarks history scrapbook auctions address price favorites_html favorites_tree)

have_libfuzzer() {
    command -v clang++ >/dev/null || return 1
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer,address,undefined -o /dev/null - 2>/dev/null
}

if ! have_libfuzzer; then
    echo "SKIPPED: clang++ with libFuzzer (-fsanitize=fuzzer) is not installed; scripts/install-deps installs it" >&2
    exit 77
fi

mode=${1:?usage: fuzz.sh build DIR | run DIR SECONDS [TARGET...]}
dir=${2:?build folder}
case "$mode" in
build)
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        generator=()
        command -v ninja >/dev/null && generator=(-G Ninja)
        CC=clang CXX=clang++ cmake -S "$here" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$dir" -j "$(nproc)"
    ;;
run)
    seconds=${3:?seconds per target}
    shift 3
    [[ $# -gt 0 ]] && targets=("$@")
    mkdir -p "$dir/crashes"
    for target in "${targets[@]}"; do
        echo "== ${target}_fuzzer for ${seconds} s"
        mkdir -p "$dir/corpus/$target"
        "$dir/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$dir/crashes/${target}-" "$dir/corpus/$target" "$here/corpus/$target"
    done
    ;;
*)
    echo "unknown mode: $mode" >&2
    exit 2
    ;;
esac
