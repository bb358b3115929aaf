#!/usr/bin/env bash
# scripts/package-release given a build whose module is not for 32-bit x86, as the 64-bit build's
# is, or only looks like a PE module: it must refuse with one line and write nothing, so that
# such a build can never ship.
#   package_release_test.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
# A file that only looks like a PE module: MZ, the header's offset, then PE\0\0 and 0x14c, and
# no optional header.
mkdir -p "$work/look-alike/bin"
for module in gen_vorn.dll player_standin.exe companion_standin.exe; do
    printf 'MZ%58s\x40\0\0\0PE\0\0\x4c\x01' '' >"$work/look-alike/bin/$module"
done
for build in "$1" "$work/look-alike"; do
    status=0
    SOURCE_DATE_EPOCH=0 "$here/scripts/package-release" "$build" "$work/dist" >"$work/out" 2>&1 ||
        status=$?
    cat "$work/out"
    [ "$status" -ne 0 ] || { echo "FAILED: it packed $build" && failed=1; }
    [ "$(wc -l <"$work/out")" -eq 1 ] || { echo "FAILED: not one line for $build" && failed=1; }
    [ -z "$(ls -A "$work/dist" 2>/dev/null)" ] ||
        { echo "FAILED: it wrote $(ls "$work/dist")" && failed=1; }
done
exit "$failed"
