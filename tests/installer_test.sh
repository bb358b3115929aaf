#!/usr/bin/env bash
# The installer under Wine, silently, into a player folder of its own:
#   installer_test.sh PART SETUP DLL VERSION WINE_RUN PREFIX LOADER HOLDER
# It must install gen_vorn.dll byte for byte into Plugins and register its uninstaller with the
# version, and uninstall exactly what it put in. PART is one of two, which CTest runs side by
# side:
#   finds    it finds the player's folder from the player's own registry records;
#   refuses  where there is no player it writes nothing and says so (exit code 3); and while the
#            DLL is in use (HOLDER keeps it loaded, with no player window to be found) neither it
#            nor the uninstaller changes anything or claims to have done so (exit code 2).
set -euo pipefail
part=$1 setup=$2 dll=$3 version=$4 wine_run=$5 prefix=$6 loader=$7 holder=$8
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
player_record='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp'
# The player's records are the test's own, in the test's own prefix: gone however it ends.
added=()
forget_player() {
    for record in "${added[@]}"; do
        run reg delete "$record" /f >/dev/null 2>&1 || true
    done
    added=()
}
trap 'forget_player; rm -rf "$work"' EXIT

# A player folder with files of its own; a name without spaces, as /D= must end the line.
player=$work/player
mkdir -p "$player/Plugins"
echo player >"$player/winamp.exe"
echo other >"$player/Plugins/gen_other.dll"
printf '[vorn station song Plugin for winamp]\r\nWait=45\r\n' >"$player/winamp.ini"
files() { (cd "$player" && find . -type f -exec sha256sum {} + | sort); }
before=$(files)

check_install() {
    local registered
    cmp -s "$player/Plugins/gen_vorn.dll" "$dll" || fail "$1: gen_vorn.dll is not the build's"
    registered=$(run reg query "$key" 2>/dev/null || true)
    grep -q 'UninstallString.*gen_vorn-uninstall.exe' <<<"$registered" ||
        fail "$1: no uninstaller registered"
    grep -q "DisplayVersion *REG_SZ *$version\b" <<<"$registered" ||
        fail "$1: the registered version is not $version"
}

check_uninstall() {
    run "$player/Plugins/gen_vorn-uninstall.exe" /S || fail "$1: the uninstaller did not start"
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

# run_status COMMAND...: runs it and sets status to its exit status.
run_status() {
    status=0
    run "$@" || status=$?
}

case $part in
refuses)
    # Where there is no player folder, none is made: not the player's usual one either.
    usual_folders=()
    while IFS= read -r folder; do
        [ ! -e "$folder" ] || fail "the prefix already has $folder"
        [ -e "$folder" ] || usual_folders+=("$folder")
    done < <(run winepath -u 'C:\Program Files\Winamp' 'C:\Program Files (x86)\Winamp')
    run_status "$setup" /S
    [ "$status" -eq 3 ] || fail "no player folder: exit status $status, not 3"
    for folder in "${usual_folders[@]}"; do
        [ ! -e "$folder" ] || { fail "no player folder: $folder made" && rm -rf "$folder"; }
    done
    # Nor into a folder without the player, such as its Plugins folder.
    run_status "$setup" /S "/D=$(windows_path "$player/Plugins")"
    [ "$status" -eq 3 ] || fail "/D without the player: exit status $status, not 3"
    [ "$(files)" = "$before" ] || fail "/D without the player: the folder changed"
    ! run reg query "$key" >/dev/null 2>&1 || {
        fail "no player folder: an uninstaller registered" && run reg delete "$key" /f >/dev/null
    }

    run "$setup" /S "/D=$(windows_path "$player")" || fail "/D: installer failed"
    check_install "/D"

    # An older DLL that a player keeps loaded, one whose window the installer cannot see:
    # neither the installer nor the uninstaller changes anything, and both say so.
    cp "$dll" "$work/old.dll"
    echo older >>"$work/old.dll"
    cp "$work/old.dll" "$player/Plugins/gen_vorn.dll"
    run reg add "$key" /v DisplayVersion /d 0.99 /f >/dev/null
    run "$holder" "$(windows_path "$player/Plugins/gen_vorn.dll")" "$(windows_path "$work/held")" &
    holder_pid=$!
    for _ in $(seq 300); do
        [ ! -e "$work/held" ] || break
        sleep 0.2
    done
    [ -e "$work/held" ] || fail "the DLL could not be held"
    in_use=$(files)
    run_status "$setup" /S "/D=$(windows_path "$player")"
    [ "$status" -eq 2 ] || fail "DLL in use: installer exit status $status, not 2"
    # The uninstaller runs where it is (_?=), so that its exit status is its own.
    run_status "$player/Plugins/gen_vorn-uninstall.exe" /S "_?=$(windows_path "$player/Plugins")"
    [ "$status" -eq 2 ] || fail "DLL in use: uninstaller exit status $status, not 2"
    [ "$(files)" = "$in_use" ] || fail "DLL in use: the player's folder changed"
    run reg query "$key" /v DisplayVersion 2>/dev/null | grep -q 'REG_SZ *0\.99\b' ||
        fail "DLL in use: the registration changed"
    rm -f "$work/held"
    wait "$holder_pid" || true
    check_uninstall "/D"
    ;;
finds)
    # Without /D, the folder the player recorded for the current user.
    added+=("$player_key")
    run reg add "$player_key" /ve /d "$(windows_path "$player")" /f >/dev/null
    run "$setup" /S || fail "registry: installer failed"
    check_install "registry"
    check_uninstall "registry"
    forget_player

    # Without /D and the current user's record, the folder of the player's own uninstaller, as
    # the machine's record names it: where the installer runs as another user (an administrator).
    for uninstaller in "\"$(windows_path "$player")\\UninstWA.exe\"" \
        "\"$(windows_path "$player")\\UninstWA.exe\" /S" "$(windows_path "$player")\\UninstWA.exe /S"; do
        added+=("$player_record")
        run reg add "$player_record" /v UninstallString /d "$uninstaller" /f >/dev/null
        run_status "$setup" /S
        [ "$status" -eq 0 ] || fail "machine's record $uninstaller: installer exit status $status"
        check_install "machine's record $uninstaller"
        [ "$status" -ne 0 ] || check_uninstall "machine's record $uninstaller"
        forget_player
    done
    ;;
esac

[ "$failures" -eq 0 ] && echo "$part: as it must"
exit $((failures > 0))
