#!/usr/bin/env bash
# Makes the release files from a built Quillpane.exe: a stripped copy with
# its symbols kept apart, the portable zip and the installer.
# dist.sh EXE OUT_DIR VERSION OBJCOPY STRIP [MAKENSIS]
set -euo pipefail

exe=${1:?Quillpane.exe}
out=${2:?output folder}
version=${3:?version}
objcopy=${4:?objcopy}
strip_tool=${5:?strip}
makensis=${6:-}
root=$(cd "$(dirname "$0")/.." && pwd)
docs=(README.md README.en.md PHONE.md PHONE.en.md CHANGELOG.md CHANGELOG.en.md)

rm -rf "$out"
stage=$out/stage
mkdir -p "$stage"

# Symbols for crash reports stay beside the release files, not in them.
"$objcopy" --only-keep-debug "$exe" "$out/Quillpane-$version.debug"
"$strip_tool" --strip-all -o "$stage/Quillpane.exe" "$exe"
(cd "$out" && "$objcopy" --add-gnu-debuglink="Quillpane-$version.debug" "$stage/Quillpane.exe")
for doc in "${docs[@]}"; do cp "$root/docs/user/$doc" "$stage/"; done

zip=$out/Quillpane-$version-win-x64.zip
(cd "$stage" && cmake -E tar cf "$zip" --format=zip Quillpane.exe "${docs[@]}")

if [ -z "$makensis" ] || [ ! -x "$makensis" ]; then
    echo "makensis is missing: no installer (tools/setup-deps.sh installs it)" >&2
    exit 1
fi
cp "$root/src/resources/app.ico" "$out/app.ico"
setup=$out/Quillpane-$version-setup.exe
"$makensis" -V2 -DVERSION="$version" -DSOURCE="$(cd "$stage" && pwd)" -DICON="$out/app.ico" -DOUTFILE="$setup" \
    "$root/installer/quillpane.nsi"

echo "Quillpane.exe: $(stat -c %s "$stage/Quillpane.exe") bytes stripped ($(stat -c %s "$exe") built)"
echo "Release files in $out:"
ls -l "$zip" "$setup" "$out/Quillpane-$version.debug" | awk '{print "  " $5 "  " $9}'
