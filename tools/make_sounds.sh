#!/usr/bin/env bash
# Makes the sounds that come with the program into the given folder: the letter and digit names
# spoken by espeak-ng, and the start-up whoosh and the key-class notes and effects made with sox.
# Every file is 48 kHz 16-bit mono, at most a second long, and brought to the same loudness.
#
#   make_sounds.sh <sound folder>
set -euo pipefail
export LC_ALL=C

if [[ $# -ne 1 ]]; then
    echo "usage: make_sounds.sh <sound folder>" >&2
    exit 2
fi
out=$1
for tool in espeak-ng sox; do
    command -v "$tool" >/dev/null || {
        echo "make_sounds: $tool is missing (scripts/setup installs it)" >&2
        exit 1
    }
done

mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/pibo-sounds.XXXXXX")
trap 'rm -rf "$work"' EXIT

rate=48000
max_seconds=0.95
# Loudness: every sound's loudest 200 ms, weighted like the ear (less bass, more presence), are
# brought to this mean level in dB below full scale, unless that would push its peaks above -1 dB.
target_level=-14

# sox, repeatable (fixed seeds for noise) and without dither, so that a build makes the same bytes.
sx() { sox -R -D "$@"; }

# A generated sound in the working format: 32-bit float, so that nothing clips before the level.
make_raw() { # name, then sox synth arguments and effects
    local name=$1
    shift
    sx -n -r $rate -c 1 -e floating-point -b 32 "$work/$name.raw.wav" "$@"
}

# Several generated pieces mixed together.
mix() { # name, piece names
    local name=$1
    shift
    local inputs=()
    for p in "$@"; do inputs+=("$work/$p.raw.wav"); done
    sx -m "${inputs[@]}" -e floating-point -b 32 "$work/$name.raw.wav"
}

# Several pieces one after the other.
concat() { # name, piece names
    local name=$1
    shift
    local inputs=()
    for p in "$@"; do inputs+=("$work/$p.raw.wav"); done
    sx "${inputs[@]}" -e floating-point -b 32 "$work/$name.raw.wav"
}

# A spoken name: clear, a little slow, a friendly raised pitch; silence trimmed at both ends and
# sped up (keeping the pitch) if it would run longer than allowed.
speak() { # name, text
    local name=$1 text=$2
    espeak-ng -v en+f3 -s 135 -p 62 -a 100 -w "$work/$name.tts.wav" "$text"
    sx "$work/$name.tts.wav" -r $rate -e floating-point -b 32 "$work/$name.trim.wav" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse rate -v $rate
    local length
    length=$(soxi -D "$work/$name.trim.wav")
    local tempo
    tempo=$(awk -v l="$length" -v m="$max_seconds" 'BEGIN { t = l / (m - 0.03); print (t > 1 ? t : 1) }')
    sx "$work/$name.trim.wav" -e floating-point -b 32 "$work/$name.raw.wav" \
        tempo -s "$tempo" fade q 0.005 0 0.03 pad 0.01 0.02
}

# A bell-like note: a sine with a softer octave above it, struck and dying away.
bell() { # name, frequency, length
    local name=$1 f=$2 len=$3
    make_raw "$name.1" synth "$len" sine "$f" fade l 0.004 "$len" "$len" vol 0.8
    make_raw "$name.2" synth "$len" sine "$(awk -v f="$f" 'BEGIN { print 2 * f }')" \
        fade l 0.002 "$len" "$(awk -v l="$len" 'BEGIN { print l * 0.8 }')" vol 0.25
    mix "$name" "$name.1" "$name.2"
}

# Loudness of the loudest 200 ms window, weighted like the ear, in dB below full scale. (The
# weighting runs 6 dB down so that its treble boost cannot clip.)
measure_level() { # file
    sx "$1" -t dat - gain -6 highpass 60 treble 4 1680 | awk '
        /^;/ { next }
        {
            block += $2 * $2; n++
            if (n == 480) { sums[b++] = block; block = 0; n = 0 }
        }
        END {
            if (n > 0) sums[b++] = block
            best = 0
            for (i = 0; i < b; i++) {
                s = 0; m = 0
                for (j = i; j < i + 20 && j < b; j++) { s += sums[j]; m += 480 }
                if (s / m > best) best = s / m
            }
            printf "%.2f\n", (best > 0 ? 10 * log(best) / log(10) + 6 : -120)
        }'
}

measure_peak() { # file
    sx "$1" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }'
}

# Brings a working-format sound to the common loudness and writes the final 16-bit file.
finish() { # name
    local name=$1
    local level peak length
    level=$(measure_level "$work/$name.raw.wav")
    peak=$(measure_peak "$work/$name.raw.wav")
    length=$(soxi -D "$work/$name.raw.wav")
    local effects=(gain "$(awk -v l="$level" -v p="$peak" -v t="$target_level" \
        'BEGIN { g = t - l; if (g > -1 - p) g = -1 - p; print g }')")
    if awk -v l="$length" -v m="$max_seconds" 'BEGIN { exit !(l > m) }'; then
        effects+=(trim 0 "$max_seconds" fade q 0 "$max_seconds" 0.03)
    fi
    sx -G "$work/$name.raw.wav" -r $rate -c 1 -e signed-integer -b 16 "$work/$name.wav" \
        "${effects[@]}"
    mv "$work/$name.wav" "$out/$name.wav"
}

# The recipes. Each makes "<name>.raw.wav" in the working folder from pieces of its own.

# Letters and digits: their names, spoken.
spoken() { # character
    speak "$1" "$1"
}

# Function keys: a bell each, climbing the C major scale from C5 to G6.
notes=(523.25 587.33 659.25 698.46 783.99 880.00 987.77 1046.50 1174.66 1318.51 1396.91 1567.98)
function_key() { # number 1 to 12
    bell "f$1" "${notes[$1 - 1]}" 0.5
}

# Backspace: a quick slide down, like taking something back.
back() {
    make_raw back synth 0.32 sine 880/260 fade q 0.005 0.32 0.12
}

# Tab: tick-tock, two short wooden knocks.
tab() {
    make_raw tab.1 synth 0.07 sine 1250 fade l 0.002 0.07 0.065 pad 0 0.05
    make_raw tab.2 synth 0.09 sine 930 fade l 0.002 0.09 0.085
    concat tab tab.1 tab.2
}

# Enter: a cheerful rising arpeggio that rings out on its top note.
enter() {
    bell enter.1 523.25 0.12
    bell enter.2 659.25 0.12
    bell enter.3 783.99 0.12
    bell enter.4 1046.50 0.4
    concat enter enter.1 enter.2 enter.3 enter.4
}

# Shift: a bright slide up.
shift_key() {
    make_raw shift synth 0.3 sine 330/990 fade q 0.01 0.3 0.08
}

# Ctrl: a bubbly bloop, a low tone wobbling quickly upwards.
ctrl() {
    make_raw ctrl synth 0.35 sine 260/520 synth 0.35 sine fmod 14 fade q 0.005 0.35 0.12
}

# Caps Lock: a two-note chime, the second ringing over the first.
caps() {
    bell caps.1 783.99 0.6
    bell caps.2 1046.50 0.45
    make_raw caps.2p synth 0.15 sine 0 vol 0
    concat caps.2d caps.2p caps.2
    mix caps caps.1 caps.2d
}

# Space: a springy boing.
space() {
    make_raw space synth 0.6 sine 170/300 synth 0.6 sine fmod 11 fade q 0.004 0.6 0.4
}

# Start-up: a rising whoosh, noise swelling under a climbing tone.
takeoff() {
    make_raw takeoff.noise synth 0.9 pinknoise highpass 600 lowpass 5000 fade h 0.5 0.9 0.3 \
        vol 0.6
    make_raw takeoff.tone synth 0.9 sine 160/1400 fade h 0.4 0.9 0.25 vol 0.35
    mix takeoff takeoff.noise takeoff.tone
}

# Runs each recipe and its finish as a job of its own, a few at a time.
jobs_max=$(nproc 2>/dev/null || echo 2)
make_sound() { # file name, recipe and its arguments
    local name=$1
    shift
    ("$@" && finish "$name") &
    while (($(jobs -rp | wc -l) >= jobs_max)); do
        wait -n || true
    done
}

for c in {A..Z} {0..9}; do make_sound "$c" spoken "$c"; done
for i in {1..12}; do make_sound "f$i" function_key "$i"; done
make_sound back back
make_sound tab tab
make_sound enter enter
make_sound shift shift_key
make_sound ctrl ctrl
make_sound caps caps
make_sound space space
make_sound takeoff takeoff
wait

# A failed job shows here: every name the program asks for must be there.
missing=()
for name in takeoff {A..Z} {0..9} f{1..12} back tab enter shift ctrl caps space; do
    [[ -s $out/$name.wav ]] || missing+=("$name.wav")
done
if ((${#missing[@]} > 0)); then
    echo "make_sounds: not made: ${missing[*]}" >&2
    exit 1
fi
echo "make_sounds: 56 sounds in $out"
