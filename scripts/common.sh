# Shared by run.sh and test.sh: installs what the build needs and starts the
# display and the Wine server the programs run on. Source it; don't run it.

KWIVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

KWIVO_PACKAGES=(
    cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools googletest
    wine64 fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxfixes3
    libxinerama1 xvfb xdotool imagemagick x11-utils
    clang libclang-rt-14-dev liblnk-utils nsis zip unzip locales fonts-wqy-microhei fonts-dejavu-core
)

say() { printf '\n== %s\n' "$*"; }

# Installs the missing packages; nothing is fetched when all are there.
kwivo_install() {
    local missing=()
    for p in "${KWIVO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

KWIVO_PIDS=()

# Starts a private Xvfb of the given size and exports DISPLAY for it.
kwivo_start_xvfb() {
    local size=${1:-1024x768} n=90
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 ${size}x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    KWIVO_PIDS+=($!)
    export DISPLAY=:$n
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

# Prepares a Wine prefix inside the build folder (created once, about 10 s)
# whose programs all share one virtual desktop of the given size, and starts
# a persistent server so that each Windows process starts in milliseconds.
kwivo_start_wine() {
    local prefix=$1 size=${2:-1024x768}
    export WINEPREFIX=$prefix
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialogs: nothing here needs them.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    "$WINESERVER" -k 2>/dev/null || true
    if [ ! -f "$prefix/system.reg" ]; then
        say "creating the Wine prefix $prefix"
        mkdir -p "$prefix"
        "$WINE" wineboot --init >/dev/null 2>&1
        "$WINESERVER" -w
    fi
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d kwivo /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v kwivo /d "$size" /f >/dev/null 2>&1
    # The GUI font linked to a CJK font, as a CJK-capable Windows links its
    # message font: text in the message font then has those glyphs.
    "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
        /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    # The desktop's size is fixed by its first process: start afresh.
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    # The first Windows process starts Wine's services, which stay for the
    # server's lifetime with that process's output handles. Start them here
    # with no output, or a test runner reading a test's output through a pipe
    # would wait for them to close it.
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

# Stops what the script started; runs from an EXIT trap, where under set -e
# any failing command (a process that has already ended) would change the
# script's exit status.
kwivo_stop_all() {
    if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
    for pid in "${KWIVO_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${KWIVO_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    KWIVO_PIDS=()
}
