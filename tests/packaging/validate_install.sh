#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed desktop
# entry, metainfo and icons: validators pass and every file uses the one id.
set -euo pipefail
build_dir=$1
app_id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

desktop="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
failures=0
check() {
  if "$@"; then echo "ok: ${*: -1}"; else echo "FAILED: $*"; failures=$((failures + 1)); fi
}

check test -x "$prefix/bin/sarvik-browser"
check test -f "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
check test -f "$prefix/share/icons/hicolor/symbolic/apps/$app_id-symbolic.svg"
check desktop-file-validate "$desktop"
check appstreamcli validate --no-net --explain "$metainfo"
check grep -qx "Icon=$app_id" "$desktop"
check grep -qx "Exec=sarvik-browser %U" "$desktop"
check grep -q "^MimeType=.*text/html;" "$desktop"
check grep -q "^MimeType=.*x-scheme-handler/http;" "$desktop"
check grep -q "^MimeType=.*x-scheme-handler/https;" "$desktop"
check grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
check grep -q "<id>$app_id</id>" "$metainfo"

echo "$((12 - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
