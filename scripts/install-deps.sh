#!/usr/bin/env bash
# Installs the Debian packages Kavel needs to build, run and test; does nothing when all are
# there. Run as root (or with sudo) on Debian 12.
set -euo pipefail

packages=(
  # build
  cmake g++ ninja-build pkg-config
  # the program: RtMidi for ALSA, libjack for Kavel's own JACK client
  qt6-base-dev librtmidi-dev libasound2-dev libjack-jackd2-dev
  # the built-in GS module: FluidSynth and a General MIDI SoundFont with the GS variations
  libfluidsynth-dev fluidr3mono-gm-soundfont
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # real-port tests and window tests without a display
  jackd2 xvfb xauth
  # fuzz targets (scripts/fuzz.sh): clang with libFuzzer and the sanitizer runtimes; the
  # ThreadSanitizer runtime of g++ (scripts/tsan.sh)
  clang libclang-rt-14-dev libtsan2
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# jackd2 asks whether to enable realtime limits; the tests run without them.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $sudo debconf-set-selections
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
