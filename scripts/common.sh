# Shared by the scripts: build trees, the Wine prefix and a private X display.
# Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUENMARK_BUILD_DIR:-$root/build}

# configure_build DIR TOOLCHAIN [CMAKE_ARGS...]
configure_build() {
    local dir=$1 toolchain=$2
    shift 2
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" -DQUENMARK_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

# make_wine_prefix DIR [unmanaged] [DPI]: made once per build; later runs reuse it.
# DPI (default 96) is the screen resolution the prefix reports to programs. The
# prefixes a run uses are kept in wine_prefixes, whose wineservers stop_all ends.
wine_prefixes=()
make_wine_prefix() {
    export QUENMARK_WINEPREFIX=$1
    wine_prefixes+=("$1")
    # A prefix made while 32-bit Wine could not run lacks the 32-bit system files.
    if [ -f "$QUENMARK_WINEPREFIX/system.reg" ] && wine32_runs \
        && [ ! -f "$QUENMARK_WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        rm -rf "$QUENMARK_WINEPREFIX"
    fi
    if [ ! -f "$QUENMARK_WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $QUENMARK_WINEPREFIX"
        WINEPREFIX=$QUENMARK_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
            /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        # Without a window manager on the test display, Wine waits two seconds for one
        # each time a managed window goes away; unmanaged windows skip the wait.
        if [ "${2:-}" = unmanaged ]; then
            "$root/scripts/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        fi
        if [ "${3:-96}" != 96 ]; then
            "$root/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f \
                >/dev/null 2>&1
        fi
        WINEPREFIX=$QUENMARK_WINEPREFIX wineserver -w
    fi
    # Debian's Wine does not load the fonts of its own data folder (package fonts-wine):
    # without them in the prefix every window takes a wider stand-in for Tahoma and the
    # frame buttons show letters instead of Marlett's symbols.
    local fonts=$QUENMARK_WINEPREFIX/drive_c/windows/Fonts font
    mkdir -p "$fonts"
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        [ -f "$fonts/$font" ] || cp "/usr/share/wine/fonts/$font" "$fonts/"
    done
}

# start_display: a private Xvfb unless a display is already there; stop_all ends it.
xvfb_pid=
start_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${QUENMARK_OWN_DISPLAY:-}" ]; then
        return
    fi
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$(head -n 1 <"$fifo")
    rm -f "$fifo"
}

# mount_full_disk DIR: a file system of 64 KiB at DIR, for the test of a full disk
# (QUENMARK_FULL_DISK names it); stop_all unmounts it. Where mounting is refused, the
# variable stays unset and that test is skipped.
full_disks=()
mount_full_disk() {
    unset QUENMARK_FULL_DISK
    mkdir -p "$1"
    if mountpoint -q "$1" || mount -t tmpfs -o size=64k quenmark-full-disk "$1" 2>/dev/null; then
        full_disks+=("$1")
        export QUENMARK_FULL_DISK=$1
    else
        echo "NOTE: a small file system cannot be mounted here; the full-disk test is skipped."
    fi
}

# Stops what the scripts started, so that nothing holds the caller's output open.
stop_all() {
    local prefix disk
    for disk in ${full_disks[@]+"${full_disks[@]}"}; do
        umount "$disk" 2>/dev/null || true
    done
    for prefix in ${wine_prefixes[@]+"${wine_prefixes[@]}"}; do
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}

# Whether this machine runs 32-bit programs under Wine (some kernels refuse 32-bit
# processes altogether).
wine32_runs() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# A script stopped by a signal still runs its EXIT trap (stop_all).
trap 'exit 130' INT
trap 'exit 143' TERM
