#!/usr/bin/env bash
# Sets up, builds and runs Linkora on the simulated card. Arguments are passed
# to the program (for example --folder DIR).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINKORA_TESTS=OFF >/dev/null
cmake --build "$here/build" --target linkora
exec "$here/build/bin/linkora" "$@"
