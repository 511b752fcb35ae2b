#!/usr/bin/env bash
# Configures and builds the project in build/: every target, or only the ones
# named (scripts/compilar.sh analisis-harina builds just the program).
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache, where installed, makes a rebuild of unchanged files nearly free.
lanzador=()
if command -v ccache >/dev/null; then
  lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanzador[@]}" >/dev/null
objetivos=()
for objetivo in "$@"; do objetivos+=(--target "$objetivo"); done
cmake --build build -j"$(nproc)" "${objetivos[@]}"
