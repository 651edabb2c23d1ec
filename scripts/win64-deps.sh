#!/bin/sh
# Cross-builds libjpeg-turbo and giflib (for the saver) and zlib and libpng (for kxtool.exe)
# for win64 from Debian's source packages, once, into a cache folder outside the source
# tree. Prints the install prefix on its last line.
set -eu
cache=${KX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kxsaver}
prefix=$cache/win64-deps
stamp=$prefix/.done-v1
png_stamp=$prefix/.done-png-v1

# apt-get source needs a deb-src entry for the release this machine runs.
need_sources() {
  grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  cat > /etc/apt/sources.list.d/kxsaver-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq >&2
}

# zlib and libpng: their C files into two static libraries, beside the others.
build_png() {
  [ -f "$png_stamp" ] && return 0
  need_sources
  local psrc=$cache/src-png
  rm -rf "$psrc"; mkdir -p "$psrc"
  (cd "$psrc" && { apt-get source -qq zlib libpng1.6 >&2 2>/dev/null || apt-get source zlib libpng1.6 >&2; })
  local z png
  z=$(find "$psrc" -maxdepth 1 -type d -name 'zlib-*' | head -n 1)
  png=$(find "$psrc" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)
  [ -n "$png" ] || png=$(find "$psrc" -maxdepth 1 -type d -name 'libpng-*' | head -n 1)
  mkdir -p "$psrc/z" "$psrc/png"
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
           inftrees trees uncompr zutil; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "$z/$f.c" -I"$z" -o "$psrc/z/$f.o" >&2
  done
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libz.a" "$psrc"/z/*.o
  cp "$z/zlib.h" "$z/zconf.h" "$prefix/include/"
  cp "$png/scripts/pnglibconf.h.prebuilt" "$png/pnglibconf.h"
  for f in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans \
           pngwio pngwrite pngwtran pngwutil; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "$png/$f.c" -I"$png" -I"$z" -o "$psrc/png/$f.o" >&2
  done
  x86_64-w64-mingw32-ar rcs "$prefix/lib/libpng.a" "$psrc"/png/*.o
  cp "$png/png.h" "$png/pngconf.h" "$png/pnglibconf.h" "$prefix/include/"
  touch "$png_stamp"
}

if [ -f "$stamp" ]; then build_png; echo "$prefix"; exit 0; fi

need_sources

src=$cache/src
rm -rf "$src" "$prefix"
mkdir -p "$src" "$prefix/include" "$prefix/lib"
cd "$src"
apt-get source -qq libjpeg-turbo giflib >&2 2>/dev/null || apt-get source libjpeg-turbo giflib >&2

jpeg=$(find "$src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
gif=$(find "$src" -maxdepth 1 -type d -name 'giflib-*' | head -n 1)

cat > "$src/toolchain.cmake" <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
cmake -S "$jpeg" -B "$src/jpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
  -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DCMAKE_ASM_NASM_COMPILER=nasm >&2
cmake --build "$src/jpeg-build" >&2
cmake --install "$src/jpeg-build" >&2

# giflib: its few C files into a static library.
for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
  [ -f "$gif/$f.c" ] && x86_64-w64-mingw32-gcc-posix -O2 -c "$gif/$f.c" -I"$gif" -o "$src/$f.o" >&2
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "$src"/*.o
cp "$gif/gif_lib.h" "$prefix/include/"

touch "$stamp"
build_png
echo "$prefix"
