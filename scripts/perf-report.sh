#!/usr/bin/env bash
# Builds Kavel, runs every benchmark and writes the generated part of docs/PERFORMANCE.md (one
# table of all figures, with the machine, the date and the build type) and the latency plot
# docs/latency-jack.png. Installs python3 and matplotlib when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
missing=()
for p in python3 python3-matplotlib; do
  [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" == "install ok installed" ]] ||
    missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
bash scripts/build.sh
out=build/perf
rm -rf "$out" && mkdir -p "$out"
for bench in routing stops_table registration panels console; do
  echo "== kavel_bench_$bench"
  "build/bench/kavel_bench_$bench" --benchmark_format=console \
    --benchmark_out_format=json --benchmark_out="$out/$bench.json"
done
# Notes are told apart by their velocity: 127 a run, three runs.
for run in 1 2 3; do
  echo "== kavel_bench_jack_latency, run $run"
  build/bench/kavel_bench_jack_latency --notes 127 --samples "$out/latency-$run.csv" |
    tee "$out/latency-$run.txt"
done
# The built-in GS module: front end against bare FluidSynth, real-time factor, note latency.
echo "== kavel_bench_module"
build/bench/kavel_bench_module | tee "$out/module.txt"
# Debian's own interpreter, which has the matplotlib just installed.
/usr/bin/python3 scripts/perf_report.py "$out" docs/PERFORMANCE.md docs/latency-jack.png
