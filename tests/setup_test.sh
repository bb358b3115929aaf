#!/usr/bin/env bash
# The set-up and the scripts around it, run as root with stand-ins for everything that would
# install, build, boot or change the machine: apt-get (tests/mirror_mid_sync), dpkg, the build,
# CTest, debootstrap, chroot, the mounts, mke2fs, QEMU and Wine. Nothing is installed, built or
# booted, and no network is needed. It checks
#   - scripts/test while Debian's mirror cannot serve 32-bit packages, on machines that do and do
#     not execute 32-bit code;
#   - that the scripts change, delete and end only what they made, trust no path or folder they
#     are given, and leave nothing running or locked when killed.
# The scripts run from a copy of scripts/, in a checkout of their own, so that they never reach
# this checkout's build folders. Exits non-zero, naming each case, when one goes wrong.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# In the build folder, not in /tmp: where /tmp does not let programs run, each stand-in's name
# would find the real program.
mkdir -p "$repo/build" && work=$(mktemp -d "$repo/build/setup-test.XXXXXX") || exit 1
# Whatever the scripts leave in a temporary folder stays in this check's own.
mkdir "$work/tmp" && export TMPDIR=$work/tmp
# survivors MARK: the processes left of the runs started with SETUP_TEST_RUN=MARK. Any left of
# this check's runs are ended when it ends.
survivors() { grep -lsxzF "SETUP_TEST_RUN=$1" /proc/[0-9]*/environ | cut -d/ -f3; }
no_survivors() { [ -z "$(survivors "$1")" ]; }
trap 'kill -KILL $(survivors "$work/demo") $(survivors "$work/killed") 2>/dev/null; rm -rf "$work"' EXIT
clone=$work/clone
mkdir -p "$clone"
cp -r "$repo/scripts" "$repo/demo" "$repo/.gitignore" "$clone/"
git init -q "$clone"
bin=$work/bin image_bin=$work/image-bin
mkdir -p "$bin" "$image_bin"
cp "$repo/tests/mirror_mid_sync/apt-get" "$bin/"
stub() { printf '#!/usr/bin/env bash\n%s\n' "$3" >"$1/$2" && chmod +x "$1/$2"; }
stub "$bin" dpkg-query 'exit 1' # nothing is installed yet
stub "$bin" dpkg 'echo "dpkg $*" >>"$APT_STANDIN_LOG"'
stub "$bin" localedef 'exit 0'
stub "$bin" cmake 'exit 0'
stub "$bin" ctest 'echo "100% tests passed, 0 tests failed out of 1"'
stub "$bin" debootstrap 'echo "E: Failed getting release file"; exit 1'
# A guest that runs its job right here, from the control folder QEMU would share as "ctl"
# (a comma in a QEMU option is written twice). STANDIN_QEMU_LOG: it notes when it starts and
# ends, and ends once the file LOG.end is there; STANDIN_QEMU_HOLD: it writes its id there and
# runs for a minute instead.
ctl_of='ctl=$(printf "%s\n" "$@" | sed -n "s/^local,path=\(.*\),mount_tag=ctl,.*/\1/p" | sed "s/,,/,/g")'
stub "$bin" qemu-system-x86_64 "$ctl_of"'
if [ -n "${STANDIN_QEMU_HOLD:-}" ]; then echo $$ >"$STANDIN_QEMU_HOLD"; exec sleep 60; fi
if [ -n "${STANDIN_QEMU_LOG:-}" ]; then
    echo start >>"$STANDIN_QEMU_LOG"
    until [ -e "$STANDIN_QEMU_LOG.end" ]; do sleep 0.1; done
    echo end >>"$STANDIN_QEMU_LOG"
fi
bash "$ctl/job.sh" >>"$ctl/out" 2>&1; echo $? >"$ctl/rc"'
# For scripts/guest/build-image: a root file system with two kernel modules, the guest's
# needing one; a chroot that does nothing but name that one; a disk that lists its files; a
# boot that makes the prefix, and powers off, or is ended before it hands back its status
# (STANDIN_GUEST=ended).
stub "$image_bin" debootstrap 'root=$3 kernel=$3/lib/modules/6.1.0-test/kernel
mkdir -p "$root"/{etc/apt/sources.list.d,etc/apt/apt.conf.d,etc/dpkg/dpkg.cfg.d,etc/initramfs-tools,usr/sbin,sbin,boot,proc,sys,dev/pts,tmp} "$kernel/fs"
touch "$root"/etc/initramfs-tools/{initramfs.conf,modules} "$root/etc/locale.gen" "$root"/boot/{vmlinuz,initrd.img}-6.1.0-test "$kernel"/fs/{keep,drop}.ko'
stub "$image_bin" chroot 'case "$*" in *modprobe*) echo "insmod /lib/modules/6.1.0-test/kernel/fs/keep.ko" ;; esac'
stub "$image_bin" mount 'exit 0'
stub "$image_bin" umount 'exit 0'
stub "$image_bin" mke2fs '(cd "$7" && find . -type f) >"$8"'
stub "$image_bin" dpkg-query 'printf installed'
stub "$image_bin" qemu-system-x86_64 "$ctl_of"'
echo prefix-ready >>"$ctl/out"
[ "${STANDIN_GUEST:-}" = ended ] && exit 143
echo 0 >"$ctl/rc"'
# Each stand-in must be what its name finds, else the real program would run.
for stand_in in "$bin"/* "$image_bin"/*; do
    [ "$(PATH="${stand_in%/*}:$PATH" command -v "${stand_in##*/}")" = "$stand_in" ] || {
        echo "setup_test: the stand-in ${stand_in##*/} cannot run from ${stand_in%/*}"
        exit 1
    }
done
recipe=$(bash -c "source '$clone/scripts/win32-env'; echo \$win32_recipe")

failures=0
# check CASE WHAT COMMAND...: the COMMAND must succeed.
check() {
    local name=$1 what=$2
    shift 2
    "$@" || { echo "FAILED: $name: $what"; failures=$((failures + 1)); }
}
said() { grep -qsF -- "$2" "$work/$1.out"; }
asked() { grep -qE -- "$2" "$work/$1.apt"; }
# wait_for SECONDS COMMAND...: until the COMMAND succeeds, for at most SECONDS.
wait_for() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
image_in() { mkdir -p "$1/guest-$recipe" && touch "$1/guest-$recipe"/{vmlinuz,initrd.img,disk.img}; }
standins=(PATH="$bin:$PATH" VORN_APT_RETRY_SECONDS=0 VORN_SKIP_CHECKS=1)

# run CASE X86_32 GUEST ARGS...: scripts/test ARGS on a machine that does (yes) or does not (no)
# execute 32-bit code, with a guest image that is ready, or whose build fails (refused), or
# as the case has made it (given); with VORN_WIN32 set to $forced, the cache folder to $cache,
# TMPDIR to $tmpdir, when they are set.
run() {
    local name=$1 x86=$2 guest=$3 cache=${cache:-$work/cache-$1}
    shift 3
    : >"$work/$name.apt"
    [ "$guest" != ready ] || image_in "$cache"
    (cd "$work" && env -u VORN_WIN32 ${forced:+VORN_WIN32=$forced} ${tmpdir:+TMPDIR=$tmpdir} \
        "${standins[@]}" VORN_X86_32="$x86" APT_STANDIN_LOG="$work/$name.apt" \
        VORN_GUEST_CACHE="$cache" "$clone/scripts/test" "$@" >"$work/$name.out" 2>&1)
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
        check "$name" "apt may remove no package, and waits for another install" bash -c \
            "! grep '^apt-get install' '$work/$name.apt' | grep -qv -e '--no-remove -o DPkg::Lock::Timeout='"
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
            check "$name" "takes the i386 architecture away again" bash -c \
                "grep -E '^dpkg --(add|remove)-architecture' '$work/$name.apt' | tail -n 1 | grep -q remove"
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

# Told to run natively, it never takes the guest, even a ready one, nor installs 32-bit Wine
# where it cannot run.
forced=native run native-forced yes ready
check native-forced "fails" bash -c "! grep -qx 0 '$work/native-forced.status'"
check native-forced "says why the win32 lane could not run" said native-forced \
    "win32 lane: could not run: 32-bit Wine could not be installed (apt: held broken packages; Debian's mirror may be mid-sync), and VORN_WIN32=native rules out the emulated guest; run it without VORN_WIN32=native"
forced=native run native-forced-x86_32-no no ready
check native-forced-x86_32-no "asks for no i386 package" bash -c "! grep -q ':i386' '$work/native-forced-x86_32-no.apt'"
check native-forced-x86_32-no "says why the win32 lane could not run" said native-forced-x86_32-no \
    "win32 lane: could not run: this machine cannot execute 32-bit programs, and VORN_WIN32=native rules out the emulated guest"

# A temporary folder that cannot be used stops the run in one line; a relative one is taken
# from where the command is given.
tmpdir=$work/missing run missing-tmpdir no ready --quick
check missing-tmpdir "stops, saying why" bash -c "! grep -qx 0 '$work/missing-tmpdir.status' &&
    grep -qF 'The temporary folder $work/missing cannot be used' '$work/missing-tmpdir.out'"
mkdir "$work/relative-tmp"
tmpdir=relative-tmp run relative-tmpdir no ready --quick
check relative-tmpdir "passes" grep -qx 0 "$work/relative-tmpdir.status"

# A second run in one checkout waits for the run before it, and says so.
mkdir -p "$clone/build"
(flock 9 && exec sleep 30) 9>>"$clone/build/.lock" &
holder=$!
wait_for 10 bash -c "! flock -n '$clone/build/.lock' true"
run one-checkout no ready --quick &
runner=$!
wait_for 30 said one-checkout "Another run in this checkout" # else the check below fails
kill "$holder"
wait "$runner"
check one-checkout "waits for the run before it, says so, and then passes" bash -c \
    "grep -qF 'Another run in this checkout' '$work/one-checkout.out' && grep -qx 0 '$work/one-checkout.status'"

# The cache folder: a relative one is taken from where the command is given; one that other
# users can change, or one inside the checkout (copied with the working tree), is refused, its
# image never booted; a lock in it that is a link truncates nothing.
mkdir -p "$work/relative"
image_in "$work/relative"
cache=relative run relative-cache no given
check relative-cache "runs the win32 lane in the guest from ./relative" said relative-cache \
    "win32 lane (emulated guest, 32-bit Wine): 100% tests passed"
image_in "$work/cache-open-cache"
chmod 777 "$work/cache-open-cache"
run open-cache no given
check open-cache "boots no image from it" bash -c "! grep -q 'emulated guest, 32-bit Wine' '$work/open-cache.out'"
check open-cache "says why" said open-cache "other users can change $work/cache-open-cache"
image_in "$clone/guest-cache"
cache=$clone/guest-cache run inside-cache no given
check inside-cache "boots no image from it" bash -c "! grep -q 'emulated guest, 32-bit Wine' '$work/inside-cache.out'"
check inside-cache "says why" said inside-cache "$clone/guest-cache is inside the checkout"
rm -rf "$clone/guest-cache"
mkdir -p "$work/cache-linked-lock"
echo "someone's" >"$work/linked"
ln -s "$work/linked" "$work/cache-linked-lock/.build.lock"
run linked-lock no refused
check linked-lock "leaves the file its lock links to whole" grep -qx "someone's" "$work/linked"

# After a new image, only the images and prefixes of other recipes go that nothing uses: not
# one that a guest boots from, nor one used within the day. Never the cache folder, whatever
# its name, nor anything in it that the set-up did not make.
probe=$work/guest-probe old=0123456789abcdef busy=1111111111111111 recent=2222222222222222
entries="d guest-$old gone
d guest-$old.partial gone
d wine32-$old gone
d wine32-$old-1 gone
f wine32-$old.lock gone
f wine32-$old-1.run.lock gone
d guest-$busy kept
d guest-$recent kept
d guest-$recipe kept
d wine32-$recipe kept
d wine32-$recipe-1 kept
f wine32-$recipe.lock kept
f wine32-$recipe.run.lock kept
f guest-notes kept
f wine32-fedcba9876543210 kept
d guest-$old-backup kept"
mkdir -p "$probe"
while read -r kind name _; do
    if [ "$kind" = d ]; then mkdir "$probe/$name"; else touch "$probe/$name"; fi
    [ "$name" = "guest-$recent" ] || touch -d '2 days ago' "$probe/$name"
done <<<"$entries"
(exec 8<"$probe/guest-$busy" && flock -s 8 && exec sleep 30) &
holder=$!
wait_for 10 bash -c "! flock -x -n '$probe/guest-$busy' true"
VORN_GUEST_CACHE=$probe bash -c "source '$clone/scripts/win32-env'; forget_earlier_recipes"
kill "$holder"
while read -r _ name fate; do
    if [ "$fate" = kept ]; then
        check forget-earlier-recipes "$name is kept" test -e "$probe/$name"
    else
        check forget-earlier-recipes "$name is removed" test ! -e "$probe/$name"
    fi
done <<<"$entries"

# Guests run one at a time on the machine, whatever cache their images are in, and however
# their path is written; a guest holds its image from the start, waiting included. A blank or
# a comma in the image's or a shared folder's path changes nothing.
image_in "$work/boots 1,a" && image_in "$work/boots-2" && mkdir -p "$work/share 1,b"
boot() { env "${standins[@]}" STANDIN_QEMU_LOG="$work/boots.log" "$clone/scripts/guest/boot" "$@"; }
boot --share "$work/share 1,b" "$work/boots 1,a/guest-$recipe" true >"$work/boots-1.out" 2>&1 &
first=$!
wait_for 10 test -s "$work/boots.log"
check boots "a guest holds its image" bash -c "! flock -x -n '$work/boots 1,a/guest-$recipe' true"
boot "$work/boots-2/guest-$recipe/" true >"$work/boots-2.out" 2>&1 &
second=$!
check boots "the second guest says that it waits" wait_for 30 said boots-2 "waits for it to end"
touch "$work/boots.log.end"
wait "$first" && wait "$second"
check boots "each guest runs its job" test $? = 0
check boots "the second guest starts once the first has ended" \
    test "$(paste -sd ' ' "$work/boots.log")" = "start end start end"

# A run killed with KILL, its whole process group at once, while its guest runs, leaves no
# process running, no lock held and no temporary file.
image_in "$work/cache-killed"
set -m
env "${standins[@]}" SETUP_TEST_RUN="$work/killed" VORN_X86_32=no APT_STANDIN_LOG="$work/killed.apt" \
    VORN_GUEST_CACHE="$work/cache-killed" STANDIN_QEMU_HOLD="$work/killed.qemu" \
    "$clone/scripts/test" >"$work/killed.out" 2>&1 &
killed=$!
set +m
wait_for 30 test -s "$work/killed.qemu"
{ kill -KILL -- "-$killed" && wait "$killed"; } 2>/dev/null # no word of it from this shell
ended_whole() { [ -s "$work/killed.qemu" ] && no_survivors "$work/killed"; }
check killed "leaves no process running, its guest's included" wait_for 15 ended_whole
check killed "leaves no lock held" bash -c "flock -n '$bin/qemu-system-x86_64' true &&
    flock -x -n '$work/cache-killed/guest-$recipe' true && flock -n '$work/cache-killed/.boot.lock' true &&
    flock -n '$clone/build/.lock' true"
no_leftovers() { [ -z "$(ls -A "$work/tmp")" ] && ! compgen -G "$clone/build/run.*" >/dev/null; }
check killed "leaves no temporary file" wait_for 15 no_leftovers

# The demo ends its companion by the companion's own id, never the other programs in its prefix
# (a stand-in Wine: the companion runs until it is ended).
mkdir -p "$work/wine-bin"
stub "$work/wine-bin" wine 'case $1 in
*companion*) echo $$ >"$STANDIN_WINE_LOG.companion"; exec sleep 30 ;;
*) echo "wine ${1##*/}" >>"$STANDIN_WINE_LOG" ;;
esac'
stub "$work/wine-bin" wineserver 'echo "wineserver $*" >>"$STANDIN_WINE_LOG"'
SETUP_TEST_RUN=$work/demo WINEPREFIX=$work/demo-prefix WINELOADER=$work/wine-bin/wine \
    STANDIN_WINE_LOG=$work/demo.log timeout 15 "$clone/scripts/play-demo" "$work/demo-build" >"$work/play-demo.out" 2>&1
demo_status=$?
check play-demo "ends no other Wine program" bash -c "! grep -q 'wineserver.*-k' '$work/demo.log'"
check play-demo "ends its companion itself, and ends" bash -c "[ $demo_status = 0 ] &&
    ! kill -0 \$(cat '$work/demo.log.companion') 2>/dev/null"

# check-reproducible copies the working tree: links in it, to outside files or to none, change
# nothing outside the copies.
echo outside >"$work/outside"
touch -d 2020-01-01 "$work/outside"
ln -s "$work/outside" "$clone/link-out"
ln -s "$work/nowhere" "$clone/link-nowhere"
env "${standins[@]}" APT_STANDIN_LOG="$work/reproducible.apt" SOURCE_DATE_EPOCH=1 \
    "$clone/scripts/check-reproducible" >"$work/reproducible.out" 2>&1
check reproducible "leaves the time of a file a link points at" \
    test "$(date -r "$work/outside" +%F)" = 2020-01-01
check reproducible "makes no file where a link points at none" test ! -e "$work/nowhere"
rm -f "$clone/link-out" "$clone/link-nowhere"

# scripts/guest/build-image DIR: a blank or a trailing slash in DIR changes nothing; a folder
# that is not an image it made is never removed; a guest ended before it hands back its status
# makes no image.
#   case|DIR|guest|outcome
builds="blank|$work/VM images/guest-a|whole|built
slash|$work/slash/guest-b/|whole|built
theirs|$work/theirs|whole|refused
ended|$work/ended/guest-c|ended|refused"
echo mine >"$work/VM"
mkdir -p "$work/theirs" && echo theirs >"$work/theirs/notes"
while IFS='|' read -r name dir guest outcome; do
    env PATH="$image_bin:$bin:$PATH" STANDIN_GUEST="$guest" "$clone/scripts/guest/build-image" \
        "$dir" >"$work/build-$name.out" 2>&1
    echo $? >"$work/build-$name.status"
    if [ "$outcome" = built ]; then
        check "build-$name" "builds the image in $dir, with only the guest's kernel module" bash -c \
            "grep -q keep.ko '${dir%/}/disk.img' && ! grep -q drop.ko '${dir%/}/disk.img'"
    else
        check "build-$name" "fails" bash -c "! grep -qx 0 '$work/build-$name.status'"
        check "build-$name" "makes no image" test ! -e "${dir%/}/disk.img"
    fi
done <<<"$builds"
check build-blank "leaves the file that the path's first word names" grep -qx mine "$work/VM"
check build-theirs "leaves the folder's files" grep -qx theirs "$work/theirs/notes"

if [ "$failures" -gt 0 ]; then
    for out in "$work"/*.out; do
        printf '\n--- %s\n' "$(basename "$out" .out)"
        cat "$out"
    done
    exit 1
fi
echo "set-up on a mirror mid-sync, and the scripts' care for the machine: every case as expected"
