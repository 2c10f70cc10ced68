#!/usr/bin/env bash
# Builds every fuzz target with clang++-14 (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each in turn on one worker for its
# share of the time, seeded with the synthetic structures of make_seeds.py.
#
#   fuzz/run.sh [SECONDS]          default 60, shared out by the weights below
#
# Environment:
#   FUZZ_BUILD_DIR   build folder (default build-fuzz in the repository)
#   FUZZ_TARGETS     the targets to run, blank-separated (default: all)
#   FUZZ_CORPUS_DIR  keep each target's corpus in FUZZ_CORPUS_DIR/<target>
#                    and grow it across runs (default: a temporary folder,
#                    removed afterwards)
#   FUZZ_NICE        niceness of the fuzzing runs (default 10)
#
# Inputs that crash, time out or run out of memory are kept in
# FUZZ_BUILD_DIR/artifacts, each run's output in FUZZ_BUILD_DIR/logs. The
# exit status is 0 when every target ran clean for its whole share, else 1.
set -euo pipefail

seconds="${1:-60}"
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$repo/build-fuzz}"

# target  weight  max_len (bytes of one input)
table=(
    "scan_event_fuzzer       10   512"
    "standard_packet_fuzzer  10  1024"
    "ft_packet_fuzzer        10  1024"
    "tq_packet_fuzzer        10  1024"
    "trailer_fuzzer          10  1024"
    "header_chain_fuzzer     10  4096"
    "fixture_parser_fuzzer    8  2048"
    "parameter_file_fuzzer    6  1024"
    "options_fuzzer           6   512"
    "native_backend_fuzzer    4 90000"
)

selected=()
for row in "${table[@]}"; do
    read -r name weight max_len <<< "$row"
    if [[ -z "${FUZZ_TARGETS:-}" || " $FUZZ_TARGETS " == *" $name "* ]]; then
        selected+=("$row")
    fi
done
if ((${#selected[@]} == 0)); then
    echo "fuzz: no target named in FUZZ_TARGETS='${FUZZ_TARGETS:-}'" >&2
    exit 1
fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    CXX=clang++-14 cmake -S "$repo/fuzz" -B "$build"
fi
names=()
for row in "${selected[@]}"; do
    read -r name _ <<< "$row"
    names+=("$name")
done
cmake --build "$build" -j2 --target "${names[@]}"

work="$(mktemp -d "${TMPDIR:-/tmp}/raw-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
python3 "$repo/fuzz/make_seeds.py" "$work/seeds"

total_weight=0
for row in "${selected[@]}"; do
    read -r _ weight _ <<< "$row"
    total_weight=$((total_weight + weight))
done

mkdir -p "$build/artifacts" "$build/logs"
failed=()
summary=()
for row in "${selected[@]}"; do
    read -r name weight max_len <<< "$row"
    share=$((seconds * weight / total_weight))
    ((share >= 1)) || share=1
    if [[ -n "${FUZZ_CORPUS_DIR:-}" ]]; then
        corpus="$FUZZ_CORPUS_DIR/$name"
    else
        corpus="$work/corpus/$name"
    fi
    mkdir -p "$corpus"
    log="$build/logs/$name.log"
    echo "fuzz: $name for ${share}s, max_len $max_len"
    status=0
    nice -n "${FUZZ_NICE:-10}" "$build/$name" \
        -max_total_time="$share" \
        -max_len="$max_len" \
        -timeout=10 \
        -rss_limit_mb=2048 \
        -malloc_limit_mb=512 \
        -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$name-" \
        "$corpus" "$work/seeds/$name" > "$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)"
    summary+=("$(printf '%-24s %10s runs %8s exec/s' "$name" "${runs:-?}" "${rate:-?}")")
    if ((status != 0)) || grep -qE '^(==[0-9]+==ERROR|SUMMARY: (Address|Undefined)|.*runtime error:)' "$log"; then
        failed+=("$name")
        echo "fuzz: $name FAILED (exit $status); the end of $log:" >&2
        tail -n 40 "$log" >&2
    fi
done

printf '%s\n' "${summary[@]}"
if ((${#failed[@]} > 0)); then
    echo "fuzz: failed: ${failed[*]} (inputs in $build/artifacts)" >&2
    exit 1
fi
echo "fuzz: every target ran clean"
