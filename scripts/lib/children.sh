# Ending the background programs a script started, in bounded time: a bare `wait`, or
# waiting for a program that ignores SIGTERM, would hang the script with no output.

# stop_child PID: SIGTERM, up to 5 s to go, then SIGKILL; reaped when it is our child.
stop_child()
{
    local pid=${1:-} state
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    for _ in $(seq 1 50); do
        state=$(ps -o stat= -p "$pid" 2>/dev/null) || break
        case $state in Z*) break ;; esac
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true  # its exit status is not ours
}
