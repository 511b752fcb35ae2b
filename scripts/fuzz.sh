#!/usr/bin/env bash
# Builds the parsers' fuzz target with clang, libFuzzer and the address and
# undefined-behaviour sanitizers in build-fuzz/, and runs it on each parser in
# turn:
#   scripts/fuzz.sh                  every parser, ten minutes each
#   scripts/fuzz.sh formula 120      one parser, two minutes
#   scripts/fuzz.sh todos 60         every parser, one minute each
# Each run starts from the seeds in fuzz/semillas/<parser> and what earlier
# runs found (build-fuzz/corpus/<parser>). An input that breaks a parser or its
# promise is written to build-fuzz/fallas/ and the script stops with its name;
# HARINA_PARSER=<parser> build-fuzz/fuzz/fuzz_textos <that file> runs it again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instalar.sh fuzz

cual=${1:-todos}
segundos=${2:-600}
lanzador=()
if command -v ccache >/dev/null; then
  lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -DHARINA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lanzador[@]}" >/dev/null
cmake --build build-fuzz --target fuzz_textos -j"$(nproc)"
programa=build-fuzz/fuzz/fuzz_textos

if [[ $cual == todos ]]; then
  mapfile -t lectores < <(HARINA_PARSER=lista "$programa")
else
  lectores=("$cual")
fi
mkdir -p build-fuzz/fallas
for lector in "${lectores[@]}"; do
  echo "== $lector: $segundos s"
  mkdir -p "build-fuzz/corpus/$lector"
  HARINA_PARSER=$lector "$programa" -max_total_time="$segundos" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/fallas/$lector-" \
    "build-fuzz/corpus/$lector" "fuzz/semillas/$lector"
done
