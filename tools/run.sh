#!/usr/bin/env bash
# Starts Quillpane.exe under Wine and shows its panel. Without a display it
# uses a private Xvfb, saves a screenshot of the panel and ends the program.
set -uo pipefail
source "$(dirname "$0")/wine-common.sh"

exe=${1:?Quillpane.exe}
prefix=${QP_RUN_PREFIX:-$repo_root/build/wine/run}
headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_private_display 1600x900x24 || exit 1
fi
ensure_wine_prefix "$prefix" || exit 1
export WINEPREFIX=$prefix

wine "$exe" &
first=$!

# A second launch asks the running instance to show its panel; it is ignored
# while the first one is still starting, so try until the panel is mapped.
shown=0
for _ in $(seq 1 60); do
    sleep 1
    if ! kill -0 "$first" 2>/dev/null; then break; fi
    wine "$exe"
    sleep 1
    if xdotool search --onlyvisible --name '^Quillpane$' >/dev/null 2>&1; then shown=1; break; fi
done
if [ $shown -ne 1 ]; then
    echo "The panel did not appear." >&2
fi

if [ $headless -eq 1 ]; then
    shot=$repo_root/build/run-screenshot.png
    sleep 1
    import -window root "$shot" >/dev/null 2>&1 && echo "No display: the panel was shown on a private X display; screenshot: $shot"
    end_wineserver
    stop_private_display
    exit 0
fi
echo "Quillpane is running; use the tray icon's Exit (or close this terminal's job) to end it."
wait "$first"
