#!/usr/bin/env bash
# Installs the build into a temporary prefix, builds a program against it
# with nothing but the compiler and pkg-config, and runs it.
#   install_and_build.sh BUILD_DIR PROGRAM.cpp COMPILER [extra compiler flags...]
set -euo pipefail
build=$1 program=$2 compiler=$3
shift 3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
pc=$(find "$prefix" -name tivra32.pc)
[ -n "$pc" ] || { echo "tivra32.pc was not installed"; exit 1; }
for f in libtivra32.so libmorvelwin32.so tivra.h win32.h; do
  [ -n "$(find "$prefix" -name "$f")" ] || { echo "$f was not installed"; exit 1; }
done
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")

# shellcheck disable=SC2046  # the flags are meant to split
"$compiler" "$program" -o "$prefix/program" $(pkg-config --cflags --libs tivra32) "$@"
LD_LIBRARY_PATH="$(pkg-config --variable=libdir tivra32)" QT_QPA_PLATFORM=offscreen "$prefix/program"
