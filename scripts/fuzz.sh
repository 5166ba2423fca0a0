#!/usr/bin/env bash
# Builds the metadata fuzz target with clang's libFuzzer and AddressSanitizer (in build-fuzz/,
# apart from the normal build) and runs it from the seed corpus of valid files.
#
#   bash scripts/fuzz.sh [SECONDS]    (default 180)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-180}"

bash "$repo/scripts/install-deps.sh" qtbase5-dev cmake make clang libclang-rt-dev </dev/null

cmake -S "$repo" -B "$repo/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DSTELVANE_FUZZ=ON -DBUILD_TESTING=OFF </dev/null
cmake --build "$repo/build-fuzz" -j2 --target fuzz_metadata </dev/null

# The corpus grows in a work folder; the seeds in the repository stay as they are.
corpus="$repo/build-fuzz/corpus"
mkdir -p "$corpus"
cp -n "$repo"/fuzz/seeds/* "$corpus"/
cd "$repo/build-fuzz"
ASAN_OPTIONS=detect_leaks=0 ./fuzz/fuzz_metadata -max_total_time="$seconds" -timeout=2 \
    -max_len=65536 -dict="$repo/fuzz/xml.dict" -print_final_stats=1 "$corpus"
