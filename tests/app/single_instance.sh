#!/usr/bin/env bash
# Starts the browser with two local pages, checks both were opened with the
# second active, then runs a second `sarvik-browser` with a third page: it must
# hand the page to the running window (new active tab) and exit.
# Needs a display and a session bus of its own (run under dbus-run-session).
set -euo pipefail
browser=$1
work=$(mktemp -d)
pid=
cleanup() { [[ -n $pid ]] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config GSETTINGS_BACKEND=memory
for name in A B C; do
  echo "<!doctype html><title>Page $name</title><p>$name</p>" > "$work/page-$name.html"
done
cd "$work"

wait_for() {  # wait_for SECONDS DESCRIPTION COMMAND...
  local limit=$1 what=$2; shift 2
  for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  echo "FAILED: $what"; return 1
}
history_has() { grep -q "$1" "$XDG_DATA_HOME/SarvikBrowser/history.json" 2>/dev/null; }
window_named() { xdotool search --name "^$1 — SarvikBrowser\$" >/dev/null 2>&1; }

"$browser" page-A.html page-B.html > "$work/first.log" 2>&1 &
pid=$!
wait_for 30 "both pages load" bash -c "grep -q page-A.html '$XDG_DATA_HOME/SarvikBrowser/history.json' 2>/dev/null && grep -q page-B.html '$XDG_DATA_HOME/SarvikBrowser/history.json'"
wait_for 10 "the last page is the active tab" window_named "Page B"

start=$(date +%s)
timeout 20 "$browser" page-C.html > "$work/second.log" 2>&1 || { echo "FAILED: the second process did not exit cleanly"; cat "$work/second.log"; exit 1; }
echo "second process exited after $(( $(date +%s) - start )) s"
wait_for 20 "the third page opens in the first window" history_has page-C.html
wait_for 10 "the third page is the active tab" window_named "Page C"
kill -0 "$pid" || { echo "FAILED: the first browser is gone"; exit 1; }
windows=$(xdotool search --name " — SarvikBrowser\$" | wc -l)
[[ $windows -eq 1 ]] || { echo "FAILED: $windows browser windows"; exit 1; }
echo "1 passed, 0 failed"
