#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ (clang, sanitizers on the whole build) and runs
# each for FUZZ_SECONDS seconds (default 60) on a copy of its seed corpus in fuzz/corpus/,
# one after the other. Fails when a target crashes; the input that crashed it is kept in
# build-fuzz/artifacts/<target>/; an input that runs longer than 25 s counts as a crash (a
# hang). Targets to run may be named: scripts/fuzz.sh keyboard config
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DKAVEL_BUILD_FUZZ=ON -DKAVEL_BUILD_TESTS=OFF -DKAVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target kavel_fuzz

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=()
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
for t in "${targets[@]}"; do
  [[ -x $build/fuzz/fuzz-$t ]] || { echo "No fuzz target \"$t\"" >&2; exit 2; }
done

failed=()
summary=()
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  artifacts=$build/artifacts/$t
  log=$build/fuzz-$t.log
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$t"/* "$corpus"/
  echo "== $t: ${seconds} s"
  status=0
  "$build"/fuzz/fuzz-"$t" "$corpus" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$artifacts"/ >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [^ ]+' || true)
  line="$t: ${runs:-?} executions, ${speed:-?} exec/s, ${last:-no coverage line}"
  if [[ $status -ne 0 ]]; then
    failed+=("$t")
    line+=" -- CRASHED (exit $status), see $log and $artifacts/"
    grep -E 'ERROR|check failed|SUMMARY|runtime error' "$log" | head -5 || true
  fi
  echo "$line"
  summary+=("$line")
done

echo
echo "Fuzzing, ${seconds} s a target:"
printf '  %s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "Crashed: ${failed[*]}" >&2
  exit 1
fi
