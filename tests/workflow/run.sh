#!/usr/bin/env bash
# The Snakemake workflow (workflow/Snakefile) run on copies of real RAW files:
#
#   tests/workflow/run.sh [BUILD_DIR]          default build in the repository
#
# The input folder holds a few real RAW files (one with a mixed-case ".Raw"),
# bad_file.raw, which cannot be opened, and a copy of sample.raw cut in half.
# Checked:
# - a local run with 2 cores and --keep-going fails the jobs of the two
#   damaged files alone, each job leaving its log, and every good file's
#   outputs are byte for byte those of spexor run directly on it with the
#   same options (the MS1/MS2 header's CreationDate line, the time of the
#   run, masked);
# - a second run converts nothing that is up to date: only the failed jobs
#   run again; changed options make every job due again;
# - the same workflow, unchanged, through Snakemake's SLURM executor, with
#   stand-ins for sbatch, sacct and srun (tests/workflow/slurm/): the jobs
#   are submitted with the threads, memory and run time they declare, and
#   end as in the local run.
#
# Needs snakemake (Debian's package) and the built spexor. Prints one line
# per check and "N passed, N failed"; the exit status is 1 when a check
# failed. Without the real RAW files (WORKFLOW_DATA_DIR, default
# ../shared/data beside the repository) it is skipped.
set -euo pipefail
export LC_ALL=C

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
data="${WORKFLOW_DATA_DIR:-$repo/../shared/data}"
snakefile="$repo/workflow/Snakefile"
options="-ms1 -ms2 -mgf"

if [[ ! -f "$data/sample.raw" ]]; then
    echo "workflow test: skipped, no real RAW files in $data" >&2
    exit 0
fi
if ! command -v snakemake > /dev/null; then
    echo "workflow test: snakemake is not installed (Debian package snakemake)" >&2
    exit 1
fi
if [[ ! -x "$build/spexor" ]]; then
    echo "workflow test: no spexor in $build; build it first" >&2
    exit 1
fi

tmp="$(mktemp -d "${TMPDIR:-/tmp}/workflow-test.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
    local description="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $description"
    else
        failed=$((failed + 1))
        echo "FAILED: $description"
    fi
}

# spexor from PATH, as the workflow expects it.
mkdir -p "$tmp/bin"
ln -s "$build/spexor" "$tmp/bin/spexor"
export PATH="$tmp/bin:$PATH"

raw="$tmp/raw"
mkdir -p "$raw"
cp "$data/thermo.raw" "$raw/thermo.Raw"
cp "$data/Angiotensin_325-CID.raw" "$data/sample.raw" "$data/small.RAW" "$data/bad_file.raw" "$raw/"
head -c $(($(stat -c %s "$data/sample.raw") / 2)) "$data/sample.raw" > "$raw/sample_cut.raw"
chmod u+w "$raw"/*
good_names="Angiotensin_325-CID sample small thermo"
bad_names="bad_file sample_cut"

# spexor run directly, one process per file, with the same options.
direct="$tmp/direct"
direct_failures=""
for file in $(ls "$raw"); do
    if ! spexor $options -o "$direct" "$raw/$file" < /dev/null > "$tmp/direct-$file.log" 2>&1; then
        direct_failures+="${file%.*} "
    fi
done
check "spexor run directly fails on the damaged files alone" test "$direct_failures" = "$bad_names "

# Names of the .done markers, the logs, and spexor's outputs in a folder.
listing() { (cd "$1" && find . -type f ! -name '*.done' ! -path './logs/*' | sort); }
done_names() { (cd "$1" && ls *.done 2> /dev/null | sed 's/\.done$//' | sort | tr '\n' ' ' | sed 's/ $//'); }
log_names() { (cd "$1/logs" && ls *.log 2> /dev/null | sed 's/\.log$//' | sort | tr '\n' ' ' | sed 's/ $//'); }
masked() { sed 's/^H\tCreationDate\t.*/H\tCreationDate\t(masked)/' "$1"; }
same_outputs() {  # same_outputs WORKFLOW_OUT_DIR
    local out="$1" file
    [[ "$(listing "$out")" == "$(listing "$direct")" ]] || {
        diff <(listing "$direct") <(listing "$out") | sed 's/^/    /'
        return 1
    }
    [[ -n "$(listing "$out")" ]] || return 1
    for file in $(listing "$out"); do
        cmp -s <(masked "$direct/$file") <(masked "$out/$file") || {
            echo "    $file differs"
            return 1
        }
    done
}
failed_inputs() {  # the RAW files of the jobs a Snakemake log names as failed
    grep -A4 '^Error in rule spexor:' "$1" | sed -n 's|^    input: .*/||p' | sed 's/\.[^.]*$//' | sort |
        tr '\n' ' ' | sed 's/ $//'
}
started_jobs() { grep -c '^rule spexor:$' "$1" || true; }
workflow() {  # workflow LOG OUT_DIR OPTIONS SNAKEMAKE_ARGUMENTS...
    local log="$1" out="$2" run_options="$3"
    shift 3
    (cd "$tmp/work" && snakemake -s "$snakefile" --keep-going "$@" \
        --config raw_dir="$raw" out_dir="$out" options="$run_options" < /dev/null > "$log" 2>&1)
}
mkdir -p "$tmp/work"

# Local run, 2 cores.
out="$tmp/out"
status=0
workflow "$tmp/first.log" "$out" "$options" --cores 2 || status=$?
check "the local run ends with a failure" test "$status" -ne 0
check "the damaged files' jobs alone failed" test "$(failed_inputs "$tmp/first.log")" = "$bad_names"
check "every job started once" test "$(started_jobs "$tmp/first.log")" -eq 6
check "each good file has its .done marker, no damaged one has" test "$(done_names "$out")" = "$good_names"
check "every job left its log" test "$(log_names "$out")" = "Angiotensin_325-CID bad_file sample sample_cut small thermo"
check "a damaged file's log holds spexor's open failure" grep -q "Failed to open file $raw/bad_file.raw" "$out/logs/bad_file.log"
check "the outputs are byte for byte those of spexor run directly" same_outputs "$out"
if ((failed > 0)); then sed 's/^/    /' "$tmp/first.log"; fi

# Nothing up to date is converted again.
touch "$tmp/after-first-run"
sleep 1
status=0
workflow "$tmp/second.log" "$out" "$options" --cores 2 || status=$?
check "the second run fails the damaged files' jobs again" test "$(failed_inputs "$tmp/second.log")" = "$bad_names"
check "the second run starts only those two jobs" test "$(started_jobs "$tmp/second.log")" -eq 2
check "the second run touches no output or marker" \
    test -z "$(find "$out" -type f -newer "$tmp/after-first-run" ! -path "$out/logs/*")"
workflow "$tmp/dry.log" "$out" "-mgf" --cores 2 --dry-run
check "other options make every job due again" test "$(started_jobs "$tmp/dry.log")" -eq 6

# The same workflow through Snakemake's SLURM executor.
slurm_out="$tmp/out-slurm"
export FAKE_SLURM_DIR="$tmp/slurm-state"
status=0
USER="${USER:-$(id -un)}" PATH="$repo/tests/workflow/slurm:$PATH" workflow "$tmp/slurm.log" "$slurm_out" "$options" \
    --slurm --jobs 6 --max-status-checks-per-second 1 \
    --default-resources slurm_account=testaccount slurm_partition=testpartition || status=$?
calls="$FAKE_SLURM_DIR/sbatch-calls"
check "the SLURM run ends with a failure" test "$status" -ne 0
check "six jobs were submitted" test "$(cat "$calls" 2> /dev/null | wc -l)" -eq 6
check "each with its account, partition, run time, memory and threads" \
    test "$(grep -c -- ' -A testaccount -p testpartition -t 60 --mem 512 --cpus-per-task=1 ' "$calls")" -eq 6
check "the damaged files' SLURM jobs alone failed" test "$(failed_inputs "$tmp/slurm.log")" = "$bad_names"
check "the SLURM run leaves the markers of the local run" test "$(done_names "$slurm_out")" = "$good_names"
check "the SLURM run's outputs are those of spexor run directly" same_outputs "$slurm_out"
if ((failed > 0)); then sed 's/^/    /' "$tmp/slurm.log"; fi

echo "workflow: $passed passed, $failed failed"
((failed == 0))
