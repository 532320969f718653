#!/usr/bin/env bash
# Runs the sound benchmark against a private PulseAudio server with a null sink, started and
# stopped here. Usage: bench/run_sound_bench.sh [build folder] [benchmark options...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
shift || true
source "$root/scripts/lib/servers.sh"
trap stop_servers EXIT
start_pulse
"$root/$build/bench/sound_bench" "$@"
