# Starts and stops the servers the tests need: an Xvfb display chosen by Xvfb itself, openbox
# without key bindings, and a PulseAudio server with a null sink on a private socket. Only what
# was started here is stopped, by process id. Source this file, then call the functions.

servers_dir=""
servers_pids=()

servers_workdir() {
    if [[ -z $servers_dir ]]; then
        servers_dir=$(mktemp -d "${TMPDIR:-/tmp}/pibo-servers.XXXXXX")
    fi
}

# Xvfb on a free display; sets DISPLAY.
start_xvfb() {
    local geometry=${1:-1280x1024x24}
    servers_workdir
    local fifo="$servers_dir/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$fifo" \
        >"$servers_dir/xvfb.log" 2>&1 &
    servers_pids+=($!)
    local display
    if ! read -r -t 20 display <"$fifo"; then
        echo "servers: Xvfb did not start" >&2
        cat "$servers_dir/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$display"
}

# openbox with its key bindings removed, so that every key reaches the program.
start_wm() {
    servers_workdir
    cat >"$servers_dir/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
XML
    openbox --config-file "$servers_dir/openbox.xml" >"$servers_dir/openbox.log" 2>&1 &
    servers_pids+=($!)
    # The window manager is ready once it owns the screen's manager selection.
    local i
    for i in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "servers: openbox did not start" >&2
    return 1
}

# PulseAudio with a 48 kHz null sink "pibo" whose monitor the tests record; sets PULSE_SERVER.
start_pulse() {
    servers_workdir
    local runtime="$servers_dir/pulse-runtime"
    mkdir -p "$runtime" "$servers_dir/pulse-home"
    chmod 700 "$runtime"
    env -u DISPLAY XDG_RUNTIME_DIR="$runtime" HOME="$servers_dir/pulse-home" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
        --realtime=no --high-priority=no --log-target=stderr \
        --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=pibo rate=48000 format=s16le channels=2" \
        >"$servers_dir/pulse.log" 2>&1 &
    servers_pids+=($!)
    export PULSE_SERVER="unix:$runtime/pulse/native"
    export PIBO_PULSE_PID=$!
    local i
    for i in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && { pactl set-default-sink pibo >/dev/null; return 0; }
        sleep 0.05
    done
    echo "servers: PulseAudio did not start" >&2
    cat "$servers_dir/pulse.log" >&2
    return 1
}

stop_servers() {
    local pid
    for ((i = ${#servers_pids[@]} - 1; i >= 0; i--)); do
        pid=${servers_pids[i]}
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${servers_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    servers_pids=()
    [[ -n $servers_dir ]] && rm -rf "$servers_dir"
    servers_dir=""
}
