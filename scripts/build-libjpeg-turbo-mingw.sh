#!/bin/sh
# Cross-builds libjpeg-turbo from Debian's source package as static MinGW libraries with NASM SIMD.
# usage: build-libjpeg-turbo-mingw.sh <workdir> <install-prefix> <toolchain-file>
set -eu
WORK=$1; PREFIX=$2; TC=$3
mkdir -p "$WORK" && cd "$WORK"
SRC=$(ls -d libjpeg-turbo-*/ 2>/dev/null | head -n1 || true)
if [ -z "$SRC" ]; then
  apt-get source libjpeg-turbo >/dev/null
  SRC=$(ls -d libjpeg-turbo-*/ | head -n1)
fi
rm -rf build-mingw
cmake -S "$SRC" -B build-mingw -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$TC" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
  -DWITH_TURBOJPEG=ON -DWITH_JAVA=OFF -DCMAKE_ASM_NASM_COMPILER=nasm
cmake --build build-mingw -j"$(nproc)"
cmake --install build-mingw
