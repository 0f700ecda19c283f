# A private desktop session for tests and benchmarks: Xvfb on a display of its own,
# openbox as window manager and a D-Bus session bus. Source it, then call
# start_session and stop_session (typically from an EXIT trap).

source "$(dirname "${BASH_SOURCE[0]}")/children.sh"

start_session()
{
    # Xvfb picks a free display number itself and writes it once it accepts clients,
    # so two sessions on one machine cannot race for the same number.
    local numberfile
    numberfile=$(mktemp)
    Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp >"$numberfile" 2>/dev/null &
    SESSION_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$numberfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$numberfile")"
    rm -f "$numberfile"
    xdpyinfo >/dev/null 2>&1 || { echo "session: Xvfb did not start" >&2; return 1; }

    # Windows mapped before the manager runs are never focused: wait for it (up to
    # 60 s: on a loaded 2-core machine openbox can take a while), starting it again
    # if it exits on the way up.
    local starts=0
    SESSION_WM_PID=
    for _ in $(seq 1 600); do
        if [ -z "${SESSION_WM_PID:-}" ] || ! kill -0 "$SESSION_WM_PID" 2>/dev/null; then
            [ "$starts" -lt 3 ] || break
            openbox --sm-disable >/dev/null 2>&1 &
            SESSION_WM_PID=$!
            starts=$((starts + 1))
        fi
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
        || { echo "session: openbox did not start on $DISPLAY" >&2; return 1; }

    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
    SESSION_BUS_PID=$(echo "$bus" | sed -n 2p)
    export SYSTEMDLL_SESSION_WM=openbox
    echo "session: DISPLAY=$DISPLAY bus=$DBUS_SESSION_BUS_ADDRESS" >&2
}

stop_session()
{
    stop_child "${SESSION_BUS_PID:-}"
    stop_child "${SESSION_WM_PID:-}"
    stop_child "${SESSION_XVFB_PID:-}"
    return 0
}
