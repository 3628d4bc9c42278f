# Shared by the Wine scripts: private X displays and Wine prefixes.
# shellcheck shell=bash

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=""

# Starts Xvfb on a free display number and exports DISPLAY.
start_private_display() {
    local geometry=${1:-1600x900x24}
    local fifo
    fifo=$(mktemp -u /tmp/quillpane-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -dpi 96 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    local number
    if ! read -r -t 20 number <"$fifo"; then
        rm -f "$fifo"
        echo "Xvfb did not start" >&2
        return 1
    fi
    rm -f "$fifo"
    export DISPLAY=":$number"
}

stop_private_display() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}

# Ends the Wine server of $WINEPREFIX and waits until it is gone. A server
# still dying is found through the prefix folder's inode, which a new prefix
# made at once may reuse; its programs would then fail to start.
end_wineserver() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
}

# Makes sure $1 is an initialised 64-bit Wine prefix. Concurrent callers wait
# for each other through a lock beside it.
ensure_wine_prefix() {
    local prefix=$1
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ -f "$prefix/.quillpane-ready" ]; then exit 0; fi
        rm -rf "$prefix"
        echo "Creating the Wine prefix $prefix ..." >&2
        local own_display=0
        if [ -z "${DISPLAY:-}" ]; then start_private_display; own_display=1; fi
        WINEPREFIX=$prefix WINEARCH=win64 wineboot -i >/dev/null 2>&1
        WINEPREFIX=$prefix wineserver -w
        [ $own_display -eq 1 ] && stop_private_display
        touch "$prefix/.quillpane-ready"
    ) 9>"$prefix.lock"
}

# A fresh copy of the build's template prefix at $2 (the template is made
# when missing), exported as WINEPREFIX.
use_prefix_copy() {
    local build_dir=$1 prefix=$2
    local template=$build_dir/wine/template
    ensure_wine_prefix "$template" || return 1
    cp -a "$template" "$prefix"
    rm -f "$prefix/.quillpane-ready"
    export WINEPREFIX=$prefix
}

# Windows form of a Unix path inside Wine's Z: drive.
windows_path() {
    printf 'Z:%s' "$1" | tr '/' '\\'
}
