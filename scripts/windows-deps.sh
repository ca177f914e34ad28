#!/usr/bin/env bash
# Installs what the Windows build needs on Debian 12 (mingw-w64, nasm, Wine)
# and cross-builds, once, the four libraries the Windows programs link
# statically: libjpeg-turbo, libexif, libmicrohttpd and googletest, from
# Debian's own sources (apt-get source). Nothing comes from anywhere else.
# The libraries land in build-windows/deps/prefix; a later run that finds
# them built does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
deps=$PWD/build-windows/deps
prefix=$deps/prefix
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(mingw-w64 nasm cmake ninja-build make pkg-config dpkg-dev autoconf automake libtool autopoint gettext
          wine wine64 fonts-wine zip unzip xvfb xauth librsvg2-bin python3)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done

# apt-get source needs deb-src lines. They are added beside the machine's own
# lists, for the same archives, in a file of their own; nothing else changes.
src_list=/etc/apt/sources.list.d/vimbrel-deb-src.sources
need_update=0
if ! grep -rqs '^\(deb-src\|Types:.*deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  tmp=$(mktemp)
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    # deb822 stanzas of Debian's archives, with their type turned to deb-src.
    awk 'BEGIN { RS=""; ORS="\n\n" }
         /(^|\n)Types:[^\n]*deb/ && /debian/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$list" >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    # One-line lists become deb822 stanzas of the same archives.
    awk '$1 == "deb" {
           opts=""; i=2
           if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
           comps=""; for (j = i + 2; j <= NF; j++) comps = comps (comps ? " " : "") $j
           printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n", $i, $(i+1), comps
         }' /etc/apt/sources.list >>"$tmp"
  fi
  $sudo install -m 0644 "$tmp" "$src_list"
  rm -f "$tmp"
  need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ "$need_update" = 1 ] || [ ! -f "$prefix/.complete" ]; then
  $sudo apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ -f "$prefix/.complete" ] && exit 0

jobs=$(nproc)
host=x86_64-w64-mingw32
export CC=$host-gcc-posix CXX=$host-g++-posix
mkdir -p "$deps/src" "$prefix"
fetch() { # fetch SOURCE_PACKAGE: unpacks Debian's source into deps/src/SOURCE_PACKAGE-*/
  local package=$1
  if ! ls -d "$deps/src/$package"-*/ >/dev/null 2>&1; then
    # Debian's patches (its security fixes among them) are applied.
    (cd "$deps/src" && apt-get source -qq --download-only "$package" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true
     cd "$deps/src" && dpkg-source -x "$(ls "$package"_*.dsc | head -1)" >/dev/null)
  fi
  ls -d "$deps/src/$package"-*/ | head -1
}

echo "== libjpeg-turbo"
src=$(fetch libjpeg-turbo)
cmake -S "$src" -B "$deps/build/libjpeg-turbo" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON -DWITH_JPEG8=OFF >/dev/null
cmake --build "$deps/build/libjpeg-turbo" -j"$jobs" >/dev/null
cmake --install "$deps/build/libjpeg-turbo" >/dev/null

echo "== googletest"
src=$(fetch googletest)
cmake -S "$src" -B "$deps/build/googletest" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF >/dev/null
cmake --build "$deps/build/googletest" -j"$jobs" >/dev/null
cmake --install "$deps/build/googletest" >/dev/null

autotools() { # autotools SOURCE_DIR BUILD_DIR CONFIGURE_ARGS...
  local src=$1 build=$2
  shift 2
  mkdir -p "$build"
  [ -x "$src/configure" ] || (cd "$src" && autoreconf -fi >/dev/null)
  (cd "$build" && "$src/configure" --host=$host --prefix="$prefix" --enable-static --disable-shared \
     CFLAGS="-O2" "$@" >/dev/null && make -j"$jobs" >/dev/null && make install >/dev/null)
}

echo "== libexif"
src=$(fetch libexif)
autotools "$src" "$deps/build/libexif" --disable-docs --disable-nls

echo "== libmicrohttpd"
src=$(fetch libmicrohttpd)
autotools "$src" "$deps/build/libmicrohttpd" --disable-doc --disable-examples --disable-curl \
  --disable-https --without-gnutls --disable-nls --enable-messages

touch "$prefix/.complete"
echo "Windows libraries built in $prefix"
