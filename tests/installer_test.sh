#!/usr/bin/env bash
# The installer under Wine, silently, into a player folder of its own:
#   installer_test.sh SETUP DLL VERSION WINE_RUN PREFIX LOADER
# It must install gen_vorn.dll byte for byte into Plugins and register its uninstaller with the
# version, find the player's folder from the player's own registry record, and uninstall exactly
# what it put in.
set -euo pipefail
setup=$1 dll=$2 version=$3 wine_run=$4 prefix=$5 loader=$6
here=$(cd "$(dirname "$0")/.." && pwd)

if [ ! -f "$setup" ]; then
    echo "SKIPPED: makensis could not be installed, so there is no installer to test"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
run() { "$wine_run" "$prefix" "$loader" "$@"; }
source "$here/scripts/wine-env" # for windows_path
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\gen_vorn'
player_key='HKCU\Software\Winamp'

# A player folder with files of its own; a name without spaces, as /D= must end the line.
player=$work/player
mkdir -p "$player/Plugins"
echo player >"$player/winamp.exe"
echo other >"$player/Plugins/gen_other.dll"
printf '[vorn station song Plugin for winamp]\r\nWait=45\r\n' >"$player/winamp.ini"
files() { (cd "$player" && find . -type f -exec sha256sum {} + | sort); }
before=$(files)

check_install() {
    cmp -s "$player/Plugins/gen_vorn.dll" "$dll" || fail "$1: gen_vorn.dll is not the build's"
    run reg query "$key" /v UninstallString 2>/dev/null | grep -q 'gen_vorn-uninstall.exe' ||
        fail "$1: no uninstaller registered"
    run reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "REG_SZ *$version\b" ||
        fail "$1: the registered version is not $version"
}

check_uninstall() {
    run "$player/Plugins/gen_vorn-uninstall.exe" /S
    # The uninstaller runs on from a copy of itself and removes the original.
    for _ in $(seq 100); do
        [ -e "$player/Plugins/gen_vorn-uninstall.exe" ] || break
        sleep 0.2
    done
    sleep 1
    [ "$(files)" = "$before" ] || fail "$1: uninstalling did not restore the player's folder:
$(diff <(echo "$before") <(files))"
    ! run reg query "$key" >/dev/null 2>&1 || fail "$1: the uninstaller is still registered"
}

run "$setup" /S "/D=$(windows_path "$player")" || fail "/D: installer failed"
check_install "/D"
check_uninstall "/D"

# Without /D, the folder the player recorded for the current user.
run reg add "$player_key" /ve /d "$(windows_path "$player")" /f >/dev/null
run "$setup" /S || fail "registry: installer failed"
check_install "registry"
check_uninstall "registry"
run reg delete "$player_key" /f >/dev/null

[ "$failures" -eq 0 ] && echo "installed and uninstalled cleanly, twice"
exit $((failures > 0))
