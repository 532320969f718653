#!/usr/bin/env bash
# Runs the end-to-end benchmark against a private Xvfb, openbox and PulseAudio.
# Usage: bench/run_e2e.sh [build-folder] [screen geometry] [-- benchmark options]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
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
