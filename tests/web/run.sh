#!/bin/sh
# The phone page test: run.sh <path-to-qp_merge_inbox>
# Needs Node 20 and Chromium (CHROMIUM names another binary). Screenshots go
# to QP_WEB_SHOTS, or build/web-shots in the repository.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exec node --experimental-websocket --no-warnings "$here/phone_page_test.mjs" "$@"
