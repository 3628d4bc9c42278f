#!/usr/bin/env bash
# Checks the release files against the one version number: the changelogs'
# latest headings, the executable's version block, the zip and installer
# names, the zip's contents, and the stripped executable's symbols link.
# check-release.sh VERSION DIST_DIR
set -uo pipefail

version=${1:?version}
dist=${2:?dist folder}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

for log in CHANGELOG.md CHANGELOG.en.md; do
    heading=$(grep -m1 '^## ' "$root/docs/user/$log")
    [[ $heading == "## $version "* ]] || fail "$log's latest heading is '$heading', not version $version"
done

exe=$dist/stage/Quillpane.exe
[ -f "$exe" ] || fail "no $exe (make dist)"
# The version block's strings are UTF-16: the value follows its key (the
# key's name also stands alone in the code, followed by other strings).
for key in ProductVersion FileVersion; do
    strings -el "$exe" | grep -x -A1 "$key" | grep -qx "$version" ||
        fail "the executable's $key is not $version"
done
objdump -h "$exe" | grep -q '\.debug_info' && fail "the shipped executable still holds its symbols"
objdump -h "$exe" | grep -q '\.gnu_debuglink' || fail "the shipped executable does not name its symbols file"
[ -s "$dist/Quillpane-$version.debug" ] || fail "no symbols file Quillpane-$version.debug"

zip=$dist/Quillpane-$version-win-x64.zip
if [ -f "$zip" ]; then
    listed=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
    expected="CHANGELOG.en.md CHANGELOG.md PHONE.en.md PHONE.md Quillpane.exe README.en.md README.md "
    [ "$listed" = "$expected" ] || fail "the zip holds '$listed'"
else
    fail "no $zip"
fi
[ -f "$dist/Quillpane-$version-setup.exe" ] || fail "no Quillpane-$version-setup.exe"
[ $status -eq 0 ] && echo "Release files of $version agree"
exit $status
