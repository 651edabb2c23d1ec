#!/bin/sh
# Cross-builds libjpeg-turbo and giflib for win64 from Debian's source packages, once, into
# a cache folder outside the source tree. Prints the install prefix on its last line.
set -eu
cache=${KX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kxsaver}
prefix=$cache/win64-deps
stamp=$prefix/.done-v1
if [ -f "$stamp" ]; then echo "$prefix"; exit 0; fi

# apt-get source needs a deb-src entry for the release this machine runs.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat > /etc/apt/sources.list.d/kxsaver-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq >&2
fi

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
echo "$prefix"
