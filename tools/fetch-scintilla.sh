#!/usr/bin/env bash
# Puts Scintilla 5 into DEST/scintilla from the distribution's "scite" source
# package. The source entries are derived from the machine's own package
# sources, so no server is named here.
set -euo pipefail
dest=${1:?usage: fetch-scintilla.sh DEST}
if [ -f "$dest/scintilla/version.txt" ] && [ -f "$dest/scintilla/win32/ScintillaWin.cxx" ]; then
    exit 0
fi
mkdir -p "$dest"
apt_dir=$(mktemp -d)
trap 'rm -rf "$apt_dir"' EXIT
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/download"

# deb822 files: turn "Types: deb" into "Types: deb-src".
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed -E 's/^Types:.*$/Types: deb-src/' "$f" > "$apt_dir/parts/$(basename "$f")"
done
# One-line format: keep the "deb" lines as "deb-src".
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    grep -E '^[[:space:]]*deb[[:space:]]' "$f" | sed -E 's/^[[:space:]]*deb[[:space:]]/deb-src /' \
        >> "$apt_dir/parts/derived.list" || true
done

apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/parts"
          -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
echo "Fetching the scite source package for its Scintilla tree..."
apt-get "${apt_opts[@]}" -qq update
(cd "$apt_dir/download" && apt-get "${apt_opts[@]}" -qq source --download-only scite)

orig=$(ls "$apt_dir"/download/scite_*.orig.tar.* | head -n 1)
tmp_extract=$(mktemp -d "$dest/extract.XXXXXX")
tar -xf "$orig" -C "$tmp_extract"
src=$(find "$tmp_extract" -maxdepth 2 -type d -name scintilla | head -n 1)
if [ -z "$src" ] || [ ! -f "$src/win32/ScintillaWin.cxx" ]; then
    echo "The scite source package holds no Scintilla win32 tree" >&2
    rm -rf "$tmp_extract"
    exit 1
fi
version=$(head -n 1 "$src/version.txt" | tr -d '\r')
case "$version" in
    5[0-9][0-9]) ;;
    *) echo "Scintilla 5.x is needed, the package holds $version" >&2; rm -rf "$tmp_extract"; exit 1 ;;
esac
rm -rf "$dest/scintilla"
mv "$src" "$dest/scintilla"
rm -rf "$tmp_extract"
echo "Scintilla $version is in $dest/scintilla"
