# Headless Wayland compositors for tests and benchmarks: sway (wlroots) and mutter (GNOME),
# each with a runtime folder of its own. Source it, then call start_wayland and stop_wayland
# (typically from an EXIT trap). Nothing here touches WAYLAND_DISPLAY: the X11 suite keeps
# running on X11, and a test that wants a compositor points its clients at one of these:
#   SYSTEMDLL_TEST_SWAY_DISPLAY    absolute path of sway's Wayland socket
#   SYSTEMDLL_TEST_SWAYSOCK        sway's IPC socket
#   SYSTEMDLL_TEST_MUTTER_DISPLAY  absolute path of mutter's Wayland socket
#   SYSTEMDLL_TEST_MUTTER_BUS      the private session bus mutter serves RemoteDesktop on
# A compositor that is not installed or does not start is left out with one line on stderr.

source "$(dirname "${BASH_SOURCE[0]}")/children.sh"

_wayland_wait_for()
{
    local i
    for i in $(seq 1 100); do
        eval "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

start_sway()
{
    command -v sway >/dev/null || { echo "wayland: sway is not installed" >&2; return 0; }
    SWAY_RUNTIME=$(mktemp -d /tmp/vanta-sway.XXXXXX)
    chmod 700 "$SWAY_RUNTIME"
    printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x800\nfocus_follows_mouse no\n' \
        >"$SWAY_RUNTIME/config"
    chmod 644 "$SWAY_RUNTIME/config"
    # sway refuses to run as root: run it as nobody, owning its runtime folder.
    local asuser=()
    if [ "$(id -u)" -eq 0 ]; then
        chown 65534:65534 "$SWAY_RUNTIME"
        asuser=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    fi
    env -i PATH="$PATH" HOME="$SWAY_RUNTIME" XDG_RUNTIME_DIR="$SWAY_RUNTIME" \
        WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        "${asuser[@]}" sway -c "$SWAY_RUNTIME/config" >"$SWAY_RUNTIME.log" 2>&1 &
    SWAY_PID=$!
    if ! _wayland_wait_for "ls $SWAY_RUNTIME/sway-ipc.*.sock && ls $SWAY_RUNTIME/wayland-*.lock"; then
        echo "wayland: sway did not start (log: $SWAY_RUNTIME.log)" >&2
        kill "$SWAY_PID" 2>/dev/null
        SWAY_PID=
        return 0
    fi
    export SYSTEMDLL_TEST_SWAYSOCK=$(ls "$SWAY_RUNTIME"/sway-ipc.*.sock | head -n 1)
    local lock
    lock=$(ls "$SWAY_RUNTIME"/wayland-*.lock | head -n 1)
    export SYSTEMDLL_TEST_SWAY_DISPLAY=${lock%.lock}
    echo "wayland: sway on $SYSTEMDLL_TEST_SWAY_DISPLAY" >&2
}

start_mutter()
{
    command -v mutter >/dev/null || { echo "wayland: mutter is not installed" >&2; return 0; }
    MUTTER_RUNTIME=$(mktemp -d /tmp/vanta-mutter.XXXXXX)
    chmod 700 "$MUTTER_RUNTIME"
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    MUTTER_BUS_PID=$(echo "$bus" | sed -n 2p)
    local address
    address=$(echo "$bus" | sed -n 1p)
    env -u DISPLAY -u WAYLAND_DISPLAY HOME="$MUTTER_RUNTIME" XDG_RUNTIME_DIR="$MUTTER_RUNTIME" \
        DBUS_SESSION_BUS_ADDRESS="$address" \
        mutter --headless --wayland --no-x11 --virtual-monitor 1280x800 --wayland-display=vanta-mutter \
        >"$MUTTER_RUNTIME.log" 2>&1 &
    MUTTER_PID=$!
    # Ready when its RemoteDesktop service answers.
    if ! _wayland_wait_for "DBUS_SESSION_BUS_ADDRESS='$address' gdbus introspect --session \
            -d org.gnome.Mutter.RemoteDesktop -o /org/gnome/Mutter/RemoteDesktop"; then
        echo "wayland: mutter did not start (log: $MUTTER_RUNTIME.log)" >&2
        kill "$MUTTER_PID" "$MUTTER_BUS_PID" 2>/dev/null
        MUTTER_PID=
        MUTTER_BUS_PID=
        return 0
    fi
    export SYSTEMDLL_TEST_MUTTER_DISPLAY=$MUTTER_RUNTIME/vanta-mutter
    export SYSTEMDLL_TEST_MUTTER_BUS=$address
    echo "wayland: mutter on $SYSTEMDLL_TEST_MUTTER_DISPLAY" >&2
}

start_wayland()
{
    start_sway
    start_mutter
}

stop_wayland()
{
    stop_child "${MUTTER_PID:-}"
    stop_child "${MUTTER_BUS_PID:-}"
    stop_child "${SWAY_PID:-}"
    [ -n "${SWAY_RUNTIME:-}" ] && rm -rf "$SWAY_RUNTIME" "$SWAY_RUNTIME.log"
    [ -n "${MUTTER_RUNTIME:-}" ] && rm -rf "$MUTTER_RUNTIME" "$MUTTER_RUNTIME.log"
    return 0
}
