#!/usr/bin/env bash
# scripts/fuzz.sh SECONDS [TARGET...]
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each (all five by default)
# for SECONDS on a working copy of its seeds. Nothing goes back into fuzz/corpus/ by itself:
# inputs worth keeping are copied there by hand, then fixed until the replay tests pass.
# Inputs are cut at ORVELLA_FUZZ_MAX_LEN bytes (by default 16384 for the file reader, 4096 for
# the others): without a cap libFuzzer takes the largest seed's size, and the 10,000-entry
# seeds slow it to a few runs a second. The replay tests still read those seeds whole.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

all=(fuzz_orv_read fuzz_orv_pack fuzz_orv_roundtrip fuzz_command_line fuzz_display_name
    fuzz_media_gate)
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET...]   targets: ${all[*]}" >&2
    exit 2
fi
seconds="$1"
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for target in "${targets[@]}"; do
    [[ " ${all[*]} " == *" $target "* ]] || { echo "unknown target: $target" >&2; exit 2; }
done

orvella_install_packages
dir="$ORVELLA_ROOT/build-fuzz"
cmake -S "$ORVELLA_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DORVELLA_FUZZ=ON -DORVELLA_TESTS=OFF -DORVELLA_BENCH=OFF \
    >/dev/null
cmake --build "$dir" --parallel 2 --target "${targets[@]}"

run="$dir/runs/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$run"
# The round trip saves a file on every run, and each save syncs it to disk: a memory-backed
# folder keeps that from setting the pace.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR="$(mktemp -d /dev/shm/orvella-fuzz.XXXXXX)"
else
    TMPDIR="$(mktemp -d "$run/tmp.XXXXXX")"
fi
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ORVELLA_ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$ORVELLA_ROOT/tests/sanitizers/ubsan.supp"

summary=()
found=0
for target in "${targets[@]}"; do
    # The working corpus grows from run to run; the committed seeds stay as they are.
    corpus="$dir/corpus/$target"
    mkdir -p "$corpus" "$run/$target"
    cp -n "$ORVELLA_ROOT/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    log="$run/$target.log"
    max_len=4096
    [ "$target" = fuzz_orv_read ] && max_len=16384
    max_len="${ORVELLA_FUZZ_MAX_LEN:-$max_len}"
    echo "== $target: ${seconds}s, inputs up to $max_len bytes, corpus $corpus, log $log"
    status=0
    "$dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -max_len="$max_len" -rss_limit_mb=2048 -dict="$ORVELLA_ROOT/fuzz/orv.dict" \
        -artifact_prefix="$run/$target/" "$corpus" >"$log" 2>&1 || status=$?

    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    crashes=$(find "$run/$target" -maxdepth 1 -type f \
        \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    result=ok
    if [ "$crashes" -gt 0 ] || [ "$status" -ne 0 ]; then
        result="FAILED (exit $status)"
        found=1
        grep -m1 -E 'ERROR: |invariant broken|runtime error' "$log" || true
        find "$run/$target" -maxdepth 1 -type f | sed 's/^/   input: /'
    fi
    summary+=("$(printf '%-20s %-18s %12s %7s %7s %8s' "$target" "$result" "${execs:-?}" \
        "${cov:-?}" "${ft:-?}" "$crashes")")
done

echo
echo "Fuzzing ${seconds}s per target; logs and found inputs in $run"
printf '%-20s %-18s %12s %7s %7s %8s\n' target result executions cov ft crashes
printf '%s\n' "${summary[@]}"
if [ "$found" -ne 0 ]; then
    echo "A target failed: libFuzzer stops at the first failure. Keep the input as a seed in"
    echo "fuzz/corpus/TARGET/, fix the code, and check with: ctest -R fuzz (in build-test)."
    exit 1
fi
