#!/usr/bin/env bash
# Runs the end-to-end benchmark against a private Xvfb, openbox and PulseAudio, all started and
# stopped here. Usage: bench/run_e2e.sh [build folder] [screen geometry] [-- benchmark options]
# PIBO_BENCH_NICE=-10 (as root) runs servers, program and benchmark at that niceness, so that
# other work on the machine disturbs the figures less.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [[ -n ${PIBO_BENCH_NICE:-} && -z ${PIBO_BENCH_NICED:-} ]]; then
    exec env PIBO_BENCH_NICED=1 nice -n "$PIBO_BENCH_NICE" "$0" "$@"
fi
build=$(cd "${1:-$root/build-release}" && pwd)
geometry=${2:-1280x1024x24}
shift $(( $# > 2 ? 2 : $# ))
[[ ${1:-} == -- ]] && shift
source "$root/scripts/lib/servers.sh"
trap stop_servers EXIT
start_xvfb "$geometry"
start_wm
start_pulse
PIBO_BUILD="$build" /usr/bin/python3 "$root/bench/e2e_bench.py" "$@"
