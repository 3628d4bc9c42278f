#!/usr/bin/env bash
# Runs one end-to-end scenario: a private copy of the template Wine prefix, a
# private X display, the scenario program driving Quillpane.exe. A failing
# scenario leaves a screenshot and the program's files in the build tree.
set -uo pipefail
source "$(dirname "$0")/wine-common.sh"

scenario=${1:?scenario}
driver=${2:?driver exe}
app=${3:?Quillpane.exe}
build_dir=${4:?build dir}

artifacts=$build_dir/e2e/$scenario
rm -rf "$artifacts"
mkdir -p "$artifacts/shots"
prefix=$artifacts/prefix
use_prefix_copy "$build_dir" "$prefix" || exit 1

start_private_display "${QP_E2E_SCREEN:-1600x900x24}" || exit 1

# The scenario asks for screenshots by leaving NAME.request files.
(
    while sleep 0.1; do
        for request in "$artifacts"/shots/*.request; do
            [ -e "$request" ] || continue
            name=$(basename "$request" .request)
            import -window root "$artifacts/shots/$name.png" >/dev/null 2>&1
            rm -f "$request"
        done
        # NAME.qr holds a screen area WxH+X+Y: the QR code there, decoded
        # by zbarimg into NAME.decoded (empty when none was found).
        for request in "$artifacts"/shots/*.qr; do
            [ -e "$request" ] || continue
            name=$(basename "$request" .qr)
            import -window root -crop "$(cat "$request")" +repage "$artifacts/shots/$name.png" >/dev/null 2>&1
            zbarimg --raw -q "$artifacts/shots/$name.png" >"$artifacts/shots/$name.tmp" 2>/dev/null
            mv "$artifacts/shots/$name.tmp" "$artifacts/shots/$name.decoded"
            rm -f "$request"
        done
    done
) &
shooter=$!

cleanup() {
    kill "$shooter" 2>/dev/null
    wait "$shooter" 2>/dev/null
    end_wineserver
    stop_private_display
}
trap cleanup EXIT

export QP_APP=$(windows_path "$app")
export QP_ARTIFACTS=$(windows_path "$artifacts")
export QP_E2E_DPI=${QP_E2E_DPI:-96}
# The installer of make dist, for the install scenario.
setup=$(ls "$build_dir"/dist/Quillpane-*-setup.exe 2>/dev/null | head -1)
if [ -n "$setup" ]; then export QP_SETUP=$(windows_path "$setup"); fi
# Into a file, not a pipe: programs the scenario had the shell start may
# keep the pipe open long after the scenario ended.
wine "$driver" --gtest_filter="$scenario" --gtest_color=no >"$artifacts/output.txt" 2>&1
rc=$?
cat "$artifacts/output.txt"
# A driver that never reached the scenario failed in Wine's start-up, not in
# the program: run it once more, with Wine's errors shown.
if [ "$rc" -ne 0 ] && ! grep -q '^\[ RUN' "$artifacts/output.txt"; then
    echo "Scenario $scenario did not start (exit $rc); running it again" >&2
    end_wineserver
    WINEDEBUG=-all,err+all wine "$driver" --gtest_filter="$scenario" --gtest_color=no >"$artifacts/output.txt" 2>&1
    rc=$?
    cat "$artifacts/output.txt"
fi
# A filter that matches nothing passes vacuously: a stale driver must fail.
if [ "$rc" -eq 0 ] && ! grep -q '^\[==========\] 1 test from' "$artifacts/output.txt"; then
    echo "Scenario $scenario did not run in this driver" >&2
    rc=1
fi

if [ "$rc" -ne 0 ]; then
    import -window root "$artifacts/failure.png" >/dev/null 2>&1
    mkdir -p "$artifacts/files"
    cp -a "$prefix"/drive_c/users/*/AppData/Roaming/ferrix "$artifacts/files/" 2>/dev/null
    echo "Scenario failed: screenshot and program files are in $artifacts" >&2
fi
end_wineserver
if [ "$rc" -eq 0 ]; then rm -rf "$prefix"; fi
exit "$rc"
