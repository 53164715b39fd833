#!/usr/bin/env bash
# Traces one atomic save and checks its durability order: the temporary file
# is flushed before it is renamed over the target, and the folder is flushed
# after the rename.
set -euo pipefail
probe=$1
if ! command -v strace >/dev/null; then echo "strace is missing"; exit 1; fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
target="$dir/data.json"

# LeakSanitizer cannot run under ptrace: a sanitizer build of the probe checks no leaks here.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -qq -e trace=openat,write,fsync,fdatasync,rename,renameat,renameat2,close -o "$dir/trace" "$probe" "$target"

awk -v dir="$dir" -v target="$target" '
  # Lines look like: 123 openat(AT_FDCWD, "/tmp/x/data.json.tmp-..", O_WRONLY|...) = 3
  /openat\(/ && index($0, target ".tmp-") { split($0, parts, "= "); tmpfd = parts[2] + 0; step["open"] = NR }
  /openat\(/ && index($0, "\"" dir "\"") && /O_DIRECTORY/ { split($0, parts, "= "); dirfd = parts[2] + 0; step["opendir"] = NR }
  /(fsync|fdatasync)\(/ {
    match($0, /(fsync|fdatasync)\([0-9]+/); fd = substr($0, RSTART, RLENGTH); sub(/.*\(/, "", fd); fd += 0
    if (step["open"] && fd == tmpfd && !step["rename"]) step["fsyncfile"] = NR
    if (step["opendir"] && fd == dirfd) step["fsyncdir"] = NR
  }
  /rename(at2?)?\(/ && index($0, target "\"") { step["rename"] = NR }
  END {
    ok = step["open"] && step["fsyncfile"] && step["rename"] && step["fsyncdir"] && \
         step["fsyncfile"] < step["rename"] && step["rename"] < step["fsyncdir"]
    printf "open=%d fsync(file)=%d rename=%d fsync(folder)=%d\n", step["open"], step["fsyncfile"], step["rename"], step["fsyncdir"]
    if (ok) print "1 passed, 0 failed"; else print "0 passed, 1 failed"
    exit ok ? 0 : 1
  }' "$dir/trace" || { cat "$dir/trace"; exit 1; }
