# Headless Wayland compositors for tests and benchmarks: sway (wlroots) and mutter (GNOME),
# each with a runtime folder of its own; gnome-shell and KWin on request (start_gnome_shell,
# start_kwin) for the tests of window control on them. Source it, then call start_wayland and stop_wayland
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

# Waits until `service` answers at `object` on the session bus at `address` and the
# Wayland socket `socket` is there: up to 30 s, as a loaded machine takes that long.
_wayland_wait_for_shell()
{
    local address=$1 service=$2 object=$3 socket=$4 _
    for _ in 1 2 3; do
        _wayland_wait_for "DBUS_SESSION_BUS_ADDRESS='$address' gdbus introspect --session \
                -d $service -o $object && [ -S '$socket' ]" && return 0
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

# GNOME Shell, headless, with our window-control extension (EXTENSION_DIR, a folder
# holding metadata.json) enabled; only for the test of that extension (about 8 s to
# start). Exports SYSTEMDLL_TEST_GNOME_DISPLAY (absolute Wayland socket path) and
# SYSTEMDLL_TEST_GNOME_BUS (its private session bus); stop it with stop_gnome_shell.
# Settings live in a key file of its private HOME, so no dconf service is needed.
start_gnome_shell()
{
    local extension_dir=$1
    command -v gnome-shell >/dev/null || { echo "wayland: gnome-shell is not installed" >&2; return 0; }
    GNOME_RUNTIME=$(mktemp -d /tmp/vanta-gnome.XXXXXX)
    chmod 700 "$GNOME_RUNTIME"
    local uuid
    uuid=$(sed -n 's/.*"uuid": *"\([^"]*\)".*/\1/p' "$extension_dir/metadata.json")
    if [ -n "$uuid" ]; then
        mkdir -p "$GNOME_RUNTIME/home/.local/share/gnome-shell/extensions"
        cp -r "$extension_dir" "$GNOME_RUNTIME/home/.local/share/gnome-shell/extensions/$uuid"
    fi
    local bus system
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    system=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    GNOME_BUS_PIDS="$(echo "$bus" | sed -n 2p) $(echo "$system" | sed -n 2p)"
    local address
    address=$(echo "$bus" | sed -n 1p)
    local genv=(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$GNOME_RUNTIME/home" XDG_RUNTIME_DIR="$GNOME_RUNTIME"
                XDG_CONFIG_HOME="$GNOME_RUNTIME/home/.config" GSETTINGS_BACKEND=keyfile
                DBUS_SESSION_BUS_ADDRESS="$address" DBUS_SYSTEM_BUS_ADDRESS="$(echo "$system" | sed -n 1p)")
    [ -z "$uuid" ] || "${genv[@]}" gsettings set org.gnome.shell enabled-extensions "['$uuid']"
    "${genv[@]}" gsettings set org.gnome.shell disable-extension-version-validation true
    "${genv[@]}" gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x800 \
        --wayland-display=vanta-gnome >"$GNOME_RUNTIME.log" 2>&1 &
    GNOME_PID=$!
    # Ready when the shell answers on its bus and clients can connect.
    if ! _wayland_wait_for_shell "$address" org.gnome.Shell /org/gnome/Shell "$GNOME_RUNTIME/vanta-gnome"; then
        echo "wayland: gnome-shell did not start (log: $GNOME_RUNTIME.log)" >&2
        stop_gnome_shell
        return 0
    fi
    export SYSTEMDLL_TEST_GNOME_DISPLAY=$GNOME_RUNTIME/vanta-gnome
    export SYSTEMDLL_TEST_GNOME_BUS=$address
    echo "wayland: gnome-shell on $SYSTEMDLL_TEST_GNOME_DISPLAY" >&2
}

stop_gnome_shell()
{
    local pid
    for pid in ${GNOME_PID:-} ${GNOME_BUS_PIDS:-}; do
        stop_child "$pid"
    done
    GNOME_PID=
    GNOME_BUS_PIDS=
    [ -n "${GNOME_RUNTIME:-}" ] && rm -rf "$GNOME_RUNTIME" "$GNOME_RUNTIME.log"
    GNOME_RUNTIME=
    return 0
}

# KWin, headless, on a private session bus; only for the test of window control through
# KWin scripting. Exports SYSTEMDLL_TEST_KWIN_DISPLAY (absolute Wayland socket path) and
# SYSTEMDLL_TEST_KWIN_BUS (its private session bus); stop it with stop_kwin.
start_kwin()
{
    command -v kwin_wayland >/dev/null || { echo "wayland: kwin_wayland is not installed" >&2; return 0; }
    KWIN_RUNTIME=$(mktemp -d /tmp/vanta-kwin.XXXXXX)
    chmod 700 "$KWIN_RUNTIME"
    mkdir -p "$KWIN_RUNTIME/home"
    # The installed binary carries a file capability that cannot be granted here, so
    # exec fails with "Operation not permitted"; a copy carries none.
    cp "$(command -v kwin_wayland)" "$KWIN_RUNTIME/kwin_wayland"
    local bus address
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    KWIN_BUS_PID=$(echo "$bus" | sed -n 2p)
    address=$(echo "$bus" | sed -n 1p)
    env -u DISPLAY -u WAYLAND_DISPLAY HOME="$KWIN_RUNTIME/home" XDG_RUNTIME_DIR="$KWIN_RUNTIME" \
        XDG_CONFIG_HOME="$KWIN_RUNTIME/home/.config" DBUS_SESSION_BUS_ADDRESS="$address" \
        "$KWIN_RUNTIME/kwin_wayland" --virtual --no-lockscreen --no-global-shortcuts --no-kactivities \
        --socket vanta-kwin --width 1280 --height 800 >"$KWIN_RUNTIME.log" 2>&1 &
    KWIN_PID=$!
    # Ready when its scripting answers on the bus and clients can connect.
    if ! _wayland_wait_for_shell "$address" org.kde.KWin /Scripting "$KWIN_RUNTIME/vanta-kwin"; then
        echo "wayland: kwin did not start (log: $KWIN_RUNTIME.log)" >&2
        stop_kwin
        return 0
    fi
    export SYSTEMDLL_TEST_KWIN_DISPLAY=$KWIN_RUNTIME/vanta-kwin
    export SYSTEMDLL_TEST_KWIN_BUS=$address
    echo "wayland: kwin on $SYSTEMDLL_TEST_KWIN_DISPLAY" >&2
}

stop_kwin()
{
    stop_child "${KWIN_PID:-}"
    stop_child "${KWIN_BUS_PID:-}"
    KWIN_PID=
    KWIN_BUS_PID=
    [ -n "${KWIN_RUNTIME:-}" ] && rm -rf "$KWIN_RUNTIME" "$KWIN_RUNTIME.log"
    KWIN_RUNTIME=
    return 0
}
