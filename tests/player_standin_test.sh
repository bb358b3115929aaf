#!/usr/bin/env bash
# The player stand-in as a companion developer first runs it, under Wine:
#   player_standin_test.sh PLAYER DLL WINE_RUN PREFIX LOADER
# --help prints the usage; --ini is taken relative to the current folder, and a path it cannot
# use is refused; in a prefix without a graphics driver, where no window can be made, it fails
# at once with one line instead of playing to a plugin that can neither report nor keep its
# settings.
set -euo pipefail
player=$1 dll=$2 wine_run=$3 prefix=$4 loader=$5
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-env" # for windows_path, use_wine

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
cd "$work"
run() { "$wine_run" "$prefix" "$loader" "$player" "$@" >"$work/out" 2>&1; }
dll=$(windows_path "$dll")

# expect NAME STATUS LINES GREP: the last run ended with STATUS and printed LINES lines, one of
# them matching GREP.
expect() {
    local name=$1 status=$2 lines=$3 pattern=$4
    [ "$status" = "$actual" ] || fail "$name: exit status $actual, not $status"
    [ "$(wc -l <"$work/out")" -eq "$lines" ] || fail "$name: not $lines lines of output"
    grep -q -- "$pattern" "$work/out" || fail "$name: no line with \"$pattern\""
    sed "s/^/  $name: /" "$work/out"
}

actual=0 && run --help || actual=$?
expect --help 0 1 '^usage: player_standin '

# A bare file name, which Windows' profile functions would look for in the Windows folder.
printf '[vorn station song Plugin for winamp]\r\nWait=45\r\n' >winamp.ini
actual=0 && run "$dll" --ini winamp.ini || actual=$?
expect "relative --ini" 0 2 'plugin quit'
# The plugin read Wait from the file and wrote all four settings back into it.
grep -q '^Wait=45' winamp.ini && grep -q '^Enable=1' winamp.ini ||
    fail "relative --ini: the plugin did not keep its settings in winamp.ini"

actual=0 && run "$dll" --ini missing/winamp.ini || actual=$?
expect "--ini in no folder" 2 1 'missing/winamp.ini'

# A prefix without a graphics driver, as Wine makes one by default where no display is, made
# light: its own registry, a copy of the ready prefix's without the null driver, and the ready
# prefix's C: drive, which nothing here writes to (the stand-in fails before it loads the
# plugin, and the copied update time stamp keeps Wine from updating the drive).
slot=${CTEST_RESOURCE_GROUP_0_WINE_PREFIX:-id:0} # the slot's prefix, as scripts/wine-run names it
slot=${slot#id:}
slot=${slot%%,*}
ready=${VORN_WIN32_PREFIX:-$prefix}
[ "$slot" = 0 ] || ready=$ready-$slot
bare=$work/prefix
mkdir -p "$bare/dosdevices"
cp "$ready/system.reg" "$ready/userdef.reg" "$ready/.update-timestamp" "$bare/"
grep -v '^"Graphics"="null"$' "$ready/user.reg" >"$bare/user.reg"
ln -s "$ready/drive_c" "$bare/dosdevices/c:"
ln -s / "$bare/dosdevices/z:"
use_wine "$bare" "$loader"
actual=0
env -u DISPLAY -u WAYLAND_DISPLAY "$loader" "$player" "$dll" </dev/null >"$work/out" 2>&1 ||
    actual=$?
"$wine_server" -k 2>/dev/null || true
[ "$actual" != 0 ] || fail "no graphics driver: exit status 0"
expect "no graphics driver" "$actual" 1 'graphics driver'

[ "$failures" -eq 0 ] && echo "the stand-in says what it needs, and takes --ini where it was run"
exit $((failures > 0))
