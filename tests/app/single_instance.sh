#!/usr/bin/env bash
# Starts the browser with two local pages, checks both were opened with the
# second active, then runs a second `sarvik-browser` with a third page: it must
# hand the page to the running window (new active tab) and exit.
# Then a start that cannot reach the running one (no session bus) must find the
# data folder taken, say so and leave every file as it was; and a killed
# browser's lock must not keep the next start out.
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

data_sums() { (cd "$XDG_DATA_HOME/SarvikBrowser" && find . -type f -print0 | sort -z | xargs -0 md5sum); }
sleep_until_saved() { wait_for 10 "history settles" bash -c "[[ \$(find '$XDG_DATA_HOME/SarvikBrowser' -newermt '-1 second' -type f | wc -l) -eq 0 ]]"; }
sleep_until_saved
before=$(data_sums)
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus timeout 30 "$browser" page-A.html > "$work/third.log" 2>&1 &
third=$!
wait_for 20 "the taken data folder is reported in a window" bash -c "xdotool search --onlyvisible --name '^SarvikBrowser\$' >/dev/null"
dialog=$(xdotool search --onlyvisible --name '^SarvikBrowser$' | head -1)
xdotool windowfocus --sync "$dialog" key Escape
status=0; wait "$third" || status=$?
[[ $status -eq 1 ]] || { echo "FAILED: the process on a taken data folder exited with $status"; grep -v CRITICAL "$work/third.log"; exit 1; }
grep -q "already running with this data folder" "$work/third.log" || { echo "FAILED: no message on stderr"; exit 1; }
[[ "$(data_sums)" == "$before" ]] || { echo "FAILED: the process on a taken data folder changed a data file"; exit 1; }

kill -KILL "$pid"; wait "$pid" 2>/dev/null || true
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$browser" page-C.html > "$work/fourth.log" 2>&1 &
pid=$!
wait_for 30 "a start after a killed browser opens its window" window_named "Page C"

# Told to end, it ends by the signal (the tabs stay on offer) with its history whole on disk.
wait_for 20 "the revisit is saved" grep -qE 'page-C.html","visitedAt":[^,]+,"visitCount":2' "$XDG_DATA_HOME/SarvikBrowser/history.json"
kill -TERM "$pid"; status=0; wait "$pid" || status=$?; pid=
[[ $status -eq 143 ]] || { echo "FAILED: SIGTERM ended the browser with $status"; exit 1; }
python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$XDG_DATA_HOME/SarvikBrowser/history.json" || { echo "FAILED: history.json after SIGTERM"; exit 1; }
grep -q '"endedCleanly":false' "$XDG_DATA_HOME/SarvikBrowser/session.json" || { echo "FAILED: the session was marked ended"; exit 1; }
echo "1 passed, 0 failed"
