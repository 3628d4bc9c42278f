#!/usr/bin/env bash
# Editor speed benchmark under Wine: Quillpane.exe against a bare Scintilla
# host, in a private copy of the template Wine prefix and a private X
# display. Prints the table and keeps it in BUILD_DIR/bench-e2e.txt.
# Extra arguments go to the driver, e.g. --sizes 1K,1M --key-budget 10.
set -uo pipefail
source "$(dirname "$0")/wine-common.sh"

build_dir=$(cd "${1:?usage: bench-e2e.sh BUILD_DIR [driver options]}" && pwd) || exit 1
shift
driver=$build_dir/tests/bench_e2e/qp_bench_e2e.exe
bare=$build_dir/tests/bench_e2e/qp_bare_host.exe
app=$build_dir/Quillpane.exe
for exe in "$driver" "$bare" "$app"; do
    [ -f "$exe" ] || { echo "missing $exe" >&2; exit 1; }
done

work=$build_dir/bench-e2e
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix
use_prefix_copy "$build_dir" "$prefix" || exit 1

cleanup() {
    end_wineserver
    stop_private_display
    rm -rf "$work"
}
trap cleanup EXIT
start_private_display "${QP_E2E_SCREEN:-1600x900x24}" || exit 1

table=$build_dir/bench-e2e.txt
# The driver logs its progress on stderr and prints the table on stdout.
wine "$driver" --app "$(windows_path "$app")" --bare "$(windows_path "$bare")" "$@" >"$work/table.txt"
rc=$?
{
    echo "Quillpane editor benchmark under $(wine --version 2>/dev/null), $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo
    tr -d '\r' <"$work/table.txt"
} >"$table"
cat "$table"
exit "$rc"
