#!/usr/bin/env bash
# Runs every fuzz target of the native-fuzz build (libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) for a time budget each, seeded with its committed corpus,
# and prints one line per target: executions, coverage (libFuzzer's cov and ft) and the
# findings of this run (crash, leak, timeout and out-of-memory inputs).
#
#   tools/fuzz/run_fuzz.sh [SECONDS] [TARGET...]     (default 60 s, every target)
#
# Each target works in build/native-fuzz/fuzz-work/<target>/: corpus/ keeps the inputs
# the campaigns found (it grows from run to run; the repository's corpus is only read),
# findings/ the inputs that failed in this run, log the fuzzer's output. A finding is
# replayed with `build/native-fuzz/fuzz_<target> FILE`, or through the replay driver of
# a normal build (`build/native/fuzz_<target> FILE`); once minimised
# (`fuzz_<target> -minimize_crash=1 -runs=10000 FILE`) and fixed it joins
# tests/fuzz/corpus/<target>/, which `make test` replays. The fuzzer keeps going after a
# finding (fork mode, one job at a time: one core).
set -uo pipefail
cd "$(dirname "$0")/../.."

seconds=${1:-60}
shift || true
build=build/native-fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(module chunk midi_intake midi_file event_text fx_preset); fi
# A single input that takes longer than this is a finding.
timeout_seconds=10

count() { find "$1" -maxdepth 1 -name "$2-*" | wc -l; }

printf '%-12s %12s %8s %8s %8s %6s %9s %5s\n' target executions cov ft crashes leaks timeouts ooms
total=0
for target in "${targets[@]}"; do
  program=$build/fuzz_$target
  if [ ! -x "$program" ]; then
    echo "run_fuzz: $program is missing (build the native-fuzz preset first)" >&2
    exit 2
  fi
  work=$build/fuzz-work/$target
  rm -rf "$work/findings"
  mkdir -p "$work/corpus" "$work/findings"
  dictionary=()
  [ -f "tests/fuzz/$target.dict" ] && dictionary=("-dict=tests/fuzz/$target.dict")
  "$program" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -max_total_time="$seconds" \
    -timeout=$timeout_seconds -artifact_prefix="$work/findings/" "${dictionary[@]}" \
    "$work/corpus" "tests/fuzz/corpus/$target" > "$work/log" 2>&1
  status=$(grep -E '^#[0-9]+: cov: ' "$work/log" | tail -n 1)
  executions=$(echo "$status" | sed -nE 's/^#([0-9]+):.*/\1/p')
  cov=$(echo "$status" | sed -nE 's/.* cov: ([0-9]+) .*/\1/p')
  ft=$(echo "$status" | sed -nE 's/.* ft: ([0-9]+) .*/\1/p')
  crashes=$(count "$work/findings" crash)
  leaks=$(count "$work/findings" leak)
  timeouts=$(count "$work/findings" timeout)
  ooms=$(count "$work/findings" oom)
  total=$((total + crashes + leaks + timeouts + ooms))
  printf '%-12s %12s %8s %8s %8s %6s %9s %5s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" \
    "$crashes" "$leaks" "$timeouts" "$ooms"
done
echo "fuzz: $total findings, in $build/fuzz-work/<target>/findings/"
[ "$total" -eq 0 ]
