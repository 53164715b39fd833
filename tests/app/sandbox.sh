#!/usr/bin/env bash
# Web pages run in WebKit's sandbox: the web process of a running browser has a
# mount namespace of its own in which the browser's data folder does not exist.
# With the sandbox turned off by the environment, the browser warns on standard
# error (and the same check then sees the data folder, which shows it can fail).
# Needs a display and a session bus of its own (run under dbus-run-session).
set -euo pipefail
browser=$1
if ! bwrap --ro-bind / / --dev /dev --proc /proc true 2>/dev/null; then
  echo "SKIPPED: bubblewrap cannot create a sandbox here (no user namespaces?)"; exit 77
fi
work=$(mktemp -d)
pid=
cleanup() { [[ -n $pid ]] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config GSETTINGS_BACKEND=memory
echo "<!doctype html><title>Sandboxed</title><p>page" > "$work/page.html"
cd "$work"

is_descendant() {  # is_descendant PID ANCESTOR
  local p=$1
  while [[ $p -gt 1 ]]; do
    [[ $p -eq $2 ]] && return 0
    p=$(awk '{print $4}' "/proc/$p/stat" 2>/dev/null) || return 1
  done
  return 1
}
web_process_of() {  # prints the first WebKitWebProcess below the given browser
  local candidate
  for candidate in $(pgrep "^WebKitWebProces" || true); do  # comm holds 15 characters
    if is_descendant "$candidate" "$1"; then echo "$candidate"; return 0; fi
  done
  return 1
}
start_browser() {  # start_browser LOG [VARIABLE=VALUE...]
  local log=$1; shift
  rm -rf "$XDG_DATA_HOME"
  env "$@" "$browser" page.html > "$log" 2>&1 &
  pid=$!
  for _ in $(seq 300); do
    grep -q page.html "$XDG_DATA_HOME/SarvikBrowser/history.json" 2>/dev/null && web=$(web_process_of "$pid") && return 0
    sleep 0.1
  done
  echo "FAILED: the page did not load in a web process"; cat "$log"; exit 1
}
stop_browser() { kill "$pid"; wait "$pid" 2>/dev/null || true; pid=; }
sees_data_folder() { [[ -e /proc/$web/root$XDG_DATA_HOME/SarvikBrowser/history.json ]]; }
same_mounts() { [[ $(readlink /proc/$web/ns/mnt) == $(readlink /proc/self/ns/mnt) ]]; }

start_browser "$work/sandboxed.log"
[[ -e $XDG_DATA_HOME/SarvikBrowser/history.json ]] || { echo "FAILED: no data folder to hide"; exit 1; }
same_mounts && { echo "FAILED: the web process shares the browser's mounts"; exit 1; }
sees_data_folder && { echo "FAILED: the web process can see the data folder"; exit 1; }
grep -q "without the sandbox" "$work/sandboxed.log" && { echo "FAILED: warned although sandboxed"; exit 1; }
stop_browser

start_browser "$work/unsandboxed.log" WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
grep -q "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS is set, so web pages run without the sandbox" "$work/unsandboxed.log" \
  || { echo "FAILED: no warning on standard error"; cat "$work/unsandboxed.log"; exit 1; }
sees_data_folder || { echo "FAILED: the check cannot tell an unsandboxed web process"; exit 1; }
stop_browser
echo "2 passed, 0 failed"
