#!/usr/bin/env bash
# Runs one Windows program under Wine with its own X display, in the prefix
# named by QP_WINE_PREFIX (default build/wine/unit), and returns its exit code.
set -uo pipefail
source "$(dirname "$0")/wine-common.sh"

prefix=${QP_WINE_PREFIX:-$repo_root/build/wine/unit}
ensure_wine_prefix "$prefix" || exit 1
export WINEPREFIX=$prefix
start_private_display || exit 1
trap 'end_wineserver; stop_private_display' EXIT
wine "$@"
