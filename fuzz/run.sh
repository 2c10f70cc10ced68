#!/usr/bin/env bash
# Builds the native RAW backend's fuzz target with clang++-14 (libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs it on one worker,
# seeded with the real RAW files and truncated copies of them.
#
#   fuzz/run.sh [SECONDS]          default 60
#
# Environment: FUZZ_BUILD_DIR (default build-fuzz in the repository),
# FUZZ_DATA_DIR (default ../shared/data beside the repository).
# The seed corpus is made in a temporary folder and removed afterwards;
# inputs that crash are kept in FUZZ_BUILD_DIR/artifacts. The exit status is
# the fuzzer's: 0 when it ran clean for the whole time.
set -euo pipefail

seconds="${1:-60}"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$repo/build-fuzz}"
data="${FUZZ_DATA_DIR:-$repo/../shared/data}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    CXX=clang++-14 cmake -S "$repo/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target native_backend_fuzzer -j2

corpus="$(mktemp -d "${TMPDIR:-/tmp}/raw-fuzz-corpus.XXXXXX")"
trap 'rm -rf "$corpus"' EXIT

# Seeds: every real RAW file, and copies cut just after the file header, in
# the header chain and in half (the scan index and trailer records lie at
# the end, so these reach the open's failure paths).
largest=0
shopt -s nullglob nocaseglob
for raw in "$data"/*.raw; do
    name="$(basename "$raw")"
    size="$(stat -c %s "$raw")"
    cp "$raw" "$corpus/$name"
    chmod u+w "$corpus/$name"
    for cut in 1356 4096 $((size / 2)); do
        if ((cut < size)); then
            head -c "$cut" "$raw" > "$corpus/$name.cut$cut"
        fi
    done
    ((size > largest)) && largest=$size
done
shopt -u nullglob nocaseglob
if ((largest == 0)); then
    # Like the tests without the shared files: nothing to seed from, skip.
    echo "fuzz: skipped, no RAW files in $data to seed the corpus" >&2
    exit 0
fi

mkdir -p "$build/artifacts"
echo "fuzz: $(ls "$corpus" | wc -l) seeds, ${seconds}s, max_len $((largest + 65536))"
"$build/native_backend_fuzzer" \
    -max_total_time="$seconds" \
    -max_len=$((largest + 65536)) \
    -timeout=60 \
    -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 \
    -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" \
    "$corpus"
