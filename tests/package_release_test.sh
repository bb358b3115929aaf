#!/usr/bin/env bash
# scripts/package-release given a build whose module is not for 32-bit x86, as the 64-bit build's
# is: it must refuse with one line and write nothing, so that such a build can never ship.
#   package_release_test.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
SOURCE_DATE_EPOCH=0 "$here/scripts/package-release" "$1" "$work/dist" >"$work/out" 2>&1 ||
    status=$?
cat "$work/out"
failed=0
[ "$status" -ne 0 ] || { echo "FAILED: it packed the build" && failed=1; }
[ "$(wc -l <"$work/out")" -eq 1 ] || { echo "FAILED: not one line" && failed=1; }
[ -z "$(ls -A "$work/dist" 2>/dev/null)" ] ||
    { echo "FAILED: it wrote $(ls "$work/dist")" && failed=1; }
exit "$failed"
