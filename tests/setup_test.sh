#!/usr/bin/env bash
# scripts/test while Debian's mirror cannot serve 32-bit packages (the stand-in apt-get
# of tests/mirror_mid_sync), on machines that do and do not execute 32-bit code. dpkg, the
# build, CTest and the emulated guest are stand-ins too: nothing is installed, built or booted,
# and no network is needed. Exits non-zero, naming each case, when one goes wrong.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/vorn-setup-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"
cp "$repo/tests/mirror_mid_sync/apt-get" "$bin/"
stub() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$bin/$1" && chmod +x "$bin/$1"; }
stub dpkg-query 'exit 1' # nothing is installed yet
stub dpkg 'echo "dpkg $*" >>"$APT_STANDIN_LOG"'
stub cmake 'exit 0'
stub ctest 'echo "100% tests passed, 0 tests failed out of 1"'
stub debootstrap 'echo "E: Failed getting release file"; exit 1'
# A guest that runs its job right here, from the control folder QEMU would share as "ctl".
stub qemu-system-x86_64 'ctl=$(printf "%s\n" "$@" | sed -n "s/^local,path=\([^,]*\),mount_tag=ctl,.*/\1/p")
bash "$ctl/job.sh" >>"$ctl/out" 2>&1; echo $? >"$ctl/rc"'

failures=0
# check CASE WHAT COMMAND...: the COMMAND must succeed.
check() {
    local name=$1 what=$2
    shift 2
    "$@" || { echo "FAILED: $name: $what"; failures=$((failures + 1)); }
}
said() { grep -qF -- "$2" "$work/$1.out"; }
asked() { grep -qE -- "$2" "$work/$1.apt"; }

# run CASE X86_32 GUEST ARGS...: scripts/test ARGS on a machine that does (yes) or does not (no)
# execute 32-bit code, with a guest image that is ready, or whose build fails (refused); with
# VORN_WIN32 set to $forced when that is set.
run() {
    local name=$1 x86=$2 guest=$3 cache=$work/cache-$1 image
    shift 3
    : >"$work/$name.apt"
    image=$(VORN_GUEST_CACHE=$cache bash -c "source '$repo/scripts/win32-env'; echo \$guest_image")
    if [ "$guest" = ready ]; then
        mkdir -p "$image" && touch "$image"/{vmlinuz,initrd.img,disk.img}
    fi
    env -u VORN_WIN32 ${forced:+VORN_WIN32=$forced} PATH="$bin:$PATH" VORN_X86_32="$x86" \
        APT_STANDIN_LOG="$work/$name.apt" VORN_APT_RETRY_SECONDS=0 VORN_GUEST_CACHE="$cache" \
        VORN_SKIP_CHECKS=1 "$repo/scripts/test" "$@" >"$work/$name.out" 2>&1
    echo $? >"$work/$name.status"
}

for x86 in yes no; do
    quick=quick-x86_32-$x86 guest=guest-x86_32-$x86 refused=refused-x86_32-$x86
    run "$quick" "$x86" refused --quick
    run "$guest" "$x86" ready
    run "$refused" "$x86" refused

    for name in "$quick" "$guest" "$refused"; do
        check "$name" "the build's packages are asked for" asked "$name" \
            '^apt-get install .*g\+\+-mingw-w64-i686-posix g\+\+-mingw-w64-x86-64-posix .* wine64 '
        check "$name" "the failed index is named" said "$name" \
            "apt-get update could not read bookworm-security/main i386 Packages (File has unexpected size (374820 != 376004). Mirror sync in progress?): going on with the package lists apt has"
        check "$name" "the win64 lane runs" said "$name" "=== win64 lane: native, 64-bit Wine"
    done
    check "$quick" "passes" grep -qx 0 "$work/$quick.status"
    check "$quick" "asks for no i386 package" bash -c "! grep -qE ':i386|add-architecture' '$work/$quick.apt'"
    check "$quick" "runs no win32 lane" bash -c "! grep -q 'win32 lane' '$work/$quick.out'"

    check "$guest" "passes" grep -qx 0 "$work/$guest.status"
    check "$guest" "runs the win32 lane in the guest" said "$guest" \
        "win32 lane (emulated guest, 32-bit Wine): 100% tests passed"
    if [ "$x86" = yes ]; then
        for name in "$guest" "$refused"; do
            check "$name" "asks for 32-bit Wine" asked "$name" '^apt-get install .*wine32:i386'
        done
        why="32-bit Wine could not be installed (apt: held broken packages; Debian's mirror may be mid-sync)"
    else
        for name in "$guest" "$refused"; do
            check "$name" "asks for no i386 package" bash -c "! grep -q ':i386' '$work/$name.apt'"
        done
        why="this machine cannot execute 32-bit programs"
    fi
    check "$guest" "says why it takes the guest" said "$guest" \
        "${why^}: running the shipped build in the emulated guest"

    if [ "$x86" = no ]; then
        check "$refused" "starts the guest image before the build's packages" bash -c \
            "grep -m 1 -e 'in the background' -e '^Installing cmake' '$work/$refused.out' | grep -q background"
    fi
    check "$refused" "fails" bash -c "! grep -qx 0 '$work/$refused.status'"
    check "$refused" "says why the win32 lane could not run" said "$refused" \
        "win32 lane: could not run: $why, and the emulated guest could not be made (its image could not be built; the lines above say why); wait a few minutes and run it again"
    check "$refused" "counts it as a failure" said "$refused" "1 passed, 1 failed"
done

# Told to run natively, it never takes the guest, even a ready one.
forced=native run native-forced yes ready
check native-forced "fails" bash -c "! grep -qx 0 '$work/native-forced.status'"
check native-forced "says why the win32 lane could not run" said native-forced \
    "win32 lane: could not run: 32-bit Wine could not be installed (apt: held broken packages; Debian's mirror may be mid-sync), and VORN_WIN32=native rules out the emulated guest; run it without VORN_WIN32=native"

# After a new image, only the images and prefixes of other recipes go: never the cache folder,
# whatever its name, nor anything in it that the set-up did not make.
cache=$work/guest-probe old=0123456789abcdef
recipe=$(VORN_GUEST_CACHE=$cache bash -c "source '$repo/scripts/win32-env'; echo \$win32_recipe")
entries="d guest-$old gone
d guest-$old.partial gone
d wine32-$old gone
d wine32-$old-1 gone
f wine32-$old.lock gone
f wine32-$old-1.run.lock gone
d guest-$recipe kept
d wine32-$recipe kept
d wine32-$recipe-1 kept
f wine32-$recipe.lock kept
f wine32-$recipe.run.lock kept
f guest-notes kept
f wine32-fedcba9876543210 kept
d guest-$old-backup kept"
mkdir -p "$cache"
while read -r kind name _; do
    if [ "$kind" = d ]; then mkdir "$cache/$name"; else touch "$cache/$name"; fi
done <<<"$entries"
VORN_GUEST_CACHE=$cache bash -c "source '$repo/scripts/win32-env'; forget_earlier_recipes"
while read -r _ name fate; do
    if [ "$fate" = kept ]; then
        check forget-earlier-recipes "$name is kept" test -e "$cache/$name"
    else
        check forget-earlier-recipes "$name is removed" test ! -e "$cache/$name"
    fi
done <<<"$entries"

if [ "$failures" -gt 0 ]; then
    for out in "$work"/*.out; do
        printf '\n--- %s\n' "$(basename "$out" .out)"
        cat "$out"
    done
    exit 1
fi
echo "set-up on a mirror mid-sync: every case as expected"
