#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian/Ubuntu machine.
# Quiet and quick when everything is already there.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd g++ || need+=(g++)
have_cmd clang++ || need+=(clang)
# libFuzzer and the sanitizer runtimes for clang.
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-dev)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_cmd x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have_pkg mingw-w64-x86-64-dev || need+=(mingw-w64-x86-64-dev)
have_cmd wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have_cmd Xvfb || need+=(xvfb)
have_cmd xvfb-run || need+=(xvfb)
have_cmd xdotool || need+=(xdotool)
have_cmd xauth || need+=(xauth)
have_cmd xwininfo || need+=(x11-utils)
have_cmd zbarimg || need+=(zbar-tools)
# The installer; its amd64 stubs make a 64-bit setup that the 64-bit Wine runs.
have_cmd makensis || need+=(nsis)
# The phone page's test: Node runs it, headless Chromium shows the page.
have_cmd node || need+=(nodejs)
have_cmd chromium || need+=(chromium)
[ -x /usr/bin/import ] || need+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have_pkg libgtest-dev || need+=(libgtest-dev)
have_pkg libbenchmark-dev || need+=(libbenchmark-dev)
have_pkg fonts-dejavu-core || need+=(fonts-dejavu-core)
have_cmd python3 || need+=(python3)

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi
# Remove duplicates while keeping the order.
mapfile -t need < <(printf '%s\n' "${need[@]}" | awk '!seen[$0]++')
echo "Installing: ${need[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
