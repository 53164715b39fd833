#!/usr/bin/env bash
# The fuzz targets, built with clang and run by libFuzzer.
#   fuzz/fuzz.sh build DIR                  configures (once) and builds them in DIR
#   fuzz/fuzz.sh run DIR SECONDS [TARGET..] runs each (all by default) for SECONDS
#   fuzz/fuzz.sh runs DIR COUNT [TARGET..]  runs each until it has tried COUNT inputs
# Seeds come from fuzz/corpus/TARGET; new inputs go to DIR/corpus/TARGET, any
# crashing input to DIR/crashes/, each run's output to DIR/logs/TARGET.log.
# At the end a table gives per target the inputs tried, inputs a second,
# coverage, corpus size (and files written) and findings; the exit status is 1
# if any target found something. FUZZ_FLAGS adds libFuzzer flags (say
# -max_total_time=600 as a cap on a count). With FUZZ_LOCK set to a lock file,
# each target runs on its own under that lock and at the lowest priority, so
# others can build in between.
# Exits 77 (skipped) when clang or libFuzzer is missing, after saying so.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
targets=(bookmarks history scrapbook auctions address price favorites_html favorites_tree archive settings session)

have_libfuzzer() {
    command -v clang++ >/dev/null || return 1
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer,address,undefined -o /dev/null - 2>/dev/null
}

# The last value of a libFuzzer field ("cov:", "ft:", "corp:") in a log; -a because a log
# another run truncated under a running one holds NUL bytes, and grep would call it binary.
last_field() {
    grep -ao "$1 [^ ]*" "$2" | tail -n 1 | cut -d' ' -f2
}

final_stat() {
    grep -ao "^stat::$1: *[0-9]*" "$2" | tail -n 1 | grep -o '[0-9]*$'
}

# One row of the closing table from a target's log and its run's new crash files.
summary_row() {
    local target=$1 log=$2 started=$3 exit_status=$4 findings
    findings=$(find "$dir/crashes" -maxdepth 1 -name "${target}-*" -newer "$started" | wc -l)
    printf '%-16s %12s %8s %6s %7s %14s %7s %8s\n' "$target" \
        "$(final_stat number_of_executed_units "$log")" "$(final_stat average_exec_per_sec "$log")" \
        "$(last_field cov: "$log")" "$(last_field ft: "$log")" "$(last_field corp: "$log")" \
        "$(find "$dir/corpus/$target" -type f | wc -l)" "$findings"
    [[ $findings -eq 0 && $exit_status -eq 0 ]]
}

run_targets() {
    local limit=$1 started target log status=0 rows=()
    mkdir -p "$dir/crashes" "$dir/logs"
    for target in "${targets[@]}"; do
        echo "== ${target}_fuzzer ($limit)"
        mkdir -p "$dir/corpus/$target"
        log="$dir/logs/$target.log"
        started=$(mktemp)
        local command=("$dir/${target}_fuzzer" "$limit" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
                       -artifact_prefix="$dir/crashes/${target}-" ${FUZZ_FLAGS:-}
                       "$dir/corpus/$target" "$here/corpus/$target")
        [[ -n ${FUZZ_LOCK:-} ]] && command=(flock "$FUZZ_LOCK" nice -n 19 "${command[@]}")
        set +e
        "${command[@]}" 2>&1 | tee "$log"
        local exit_status=${PIPESTATUS[0]}
        set -e
        rows+=("$(summary_row "$target" "$log" "$started" "$exit_status")") || status=1
        rm -f "$started"
    done
    # corpus: the inputs libFuzzer keeps (count/bytes); files: all it wrote to the folder.
    printf '%-16s %12s %8s %6s %7s %14s %7s %8s\n' target execs exec/s cov ft corpus files findings
    printf '%s\n' "${rows[@]}"
    [[ $status -eq 0 ]] || echo "a target failed or found something: see $dir/logs/ and $dir/crashes/" >&2
    return $status
}

if ! have_libfuzzer; then
    echo "SKIPPED: clang++ with libFuzzer (-fsanitize=fuzzer) is not installed; scripts/install-deps installs it" >&2
    exit 77
fi

mode=${1:?usage: fuzz.sh build DIR | run DIR SECONDS [TARGET...] | runs DIR COUNT [TARGET...]}
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
run | runs)
    amount=${3:?seconds or inputs per target}
    shift 3
    [[ $# -gt 0 ]] && targets=("$@")
    if [[ $mode == run ]]; then run_targets -max_total_time="$amount"; else run_targets -runs="$amount"; fi
    ;;
*)
    echo "unknown mode: $mode" >&2
    exit 2
    ;;
esac
