#!/bin/sh
# Builds and runs scripts/make_artwork.cpp: renders the splash and unlock
# backgrounds and the logo bitmaps into resources/files/resource/image.
#   scripts/make_artwork.sh [--preview DIR]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(mktemp -d)/make_artwork
g++ -std=c++20 -O1 -fPIC -I"$root" -DLINKORA_SOURCE_DIR="\"$root\"" \
  "$root/scripts/make_artwork.cpp" "$root/widgets/artwork.cpp" "$root/widgets/artwork_lists.cpp" \
  "$root/widgets/artwork_backgrounds.cpp" "$root/widgets/skin.cpp" \
  $(pkg-config --cflags --libs Qt6Widgets) -o "$bin"
"$bin" "$@"
rm -rf "$(dirname "$bin")"
