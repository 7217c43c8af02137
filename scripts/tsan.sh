#!/usr/bin/env bash
# Builds the core and its real-port tests with ThreadSanitizer into build-tsan/ and runs them:
# the JACK end-to-end tests (Kavel's JACK client, the churn of ports and lists while messages
# flow), a shorter soak, and the input queue, port and device watch tests. Any report fails
# the run. TSAN_SOAK_MESSAGES sets the soak's length (default 100000).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
flags="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVEL_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$build" --target kavel_jack_tests kavel_soak kavel_tests
# A report ends the test with status 66; realtime threads are allowed to be slow here.
export TSAN_OPTIONS="halt_on_error=1:exitcode=66:second_deadlock_stack=1"
"$build/tests/kavel_jack_tests"
"$build/tests/kavel_soak" "${TSAN_SOAK_MESSAGES:-100000}"
"$build/tests/kavel_tests" \
  --gtest_filter='InputQueue.*:MessageRing.*:PortTest.*:Filters.*:DeviceWatch*:*KeyboardReturn*:SystemsOutputPort*:SystemsInputPort*'
echo "ThreadSanitizer: no report"
