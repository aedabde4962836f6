# Helpers to run kx-suite-app on a private X server and drive it with real
# X input events, shared by the end-to-end test and scripts/screenshots.
# Source it, set KX_WORK (a directory for logs, screenshots and settings) and
# call kx_setup; kx_cleanup runs on every exit path.
#
# Every wait polls with a timeout and is also bounded by KX_DEADLINE (epoch
# seconds), so a hanging step fails with its name instead of hitting the
# outer test timeout, which would kill us without a chance to clean up.

KX_STEP="start"
KX_DEADLINE=${KX_DEADLINE:-$(( $(date +%s) + 170 ))}
KX_WAIT=${KX_WAIT:-20}
KX_XVFB_PID=""
KX_APP_PID=""
KX_WATCHDOG_PID=""
KX_SHOT_COUNT=0
KX_SCREEN_SIZE=${KX_SCREEN_SIZE:-1600x1000}

# kx_test_arguments "$@": the arguments every end-to-end test takes,
# APP_BINARY WORK_DIR SAMPLE_PROJECT, as $app, KX_WORK and $sample.
kx_test_arguments() {
    if [ $# -ne 3 ]; then
        echo "usage: $0 APP_BINARY WORK_DIR SAMPLE_PROJECT" >&2
        exit 2
    fi
    app=$(readlink -f "$1")
    KX_WORK=$(readlink -m "$2")
    sample=$(readlink -f "$3")
}

kx_log() {
    printf '%s [%s] %s\n' "$(date +%H:%M:%S.%3N)" "$KX_STEP" "$*" >> "$KX_WORK/e2e.log"
}

kx_step() {
    KX_STEP="$1"
    kx_log "---"
    echo "step: $1"
}

kx_fail() {
    trap - ERR
    # A wait that failed inside $(...) has reported already; the caller only
    # has to stop.
    [ -e "$KX_WORK/failed" ] && exit 1
    : > "$KX_WORK/failed"
    kx_log "FAILED: $*"
    echo "FAILED in step '$KX_STEP': $*" >&2
    [ -n "${KX_HINT:-}" ] && echo "hint: $KX_HINT" >&2
    # The root window does not show the application's windows' content, so
    # every visible window is captured by itself.
    if [ -n "${DISPLAY:-}" ] && [ -n "$KX_XVFB_PID" ]; then
        local id
        kx_list_windows >> "$KX_WORK/e2e.log" 2>&1
        for id in $(xdotool search --onlyvisible --class 'KX Suite' 2>/dev/null); do
            kx_shot "$id" "$KX_WORK/failure-window-$id.png"
        done
    fi
    exit 1
}

kx_remaining() {
    echo $(( KX_DEADLINE - $(date +%s) ))
}

kx_check_deadline() {
    [ "$(kx_remaining)" -gt 0 ] || kx_fail "overall time limit reached"
}

# Seconds to wait: the given (or default) timeout, cut to what the deadline leaves.
kx_budget() {
    local want=${1:-$KX_WAIT} left
    left=$(kx_remaining)
    [ "$left" -lt "$want" ] && want=$left
    [ "$want" -lt 1 ] && want=1
    echo "$want"
}

kx_cleanup() {
    local status=$?
    set +e
    trap - ERR
    [ -n "$KX_APP_PID" ] && kill "$KX_APP_PID" 2>/dev/null
    [ -n "$KX_XVFB_PID" ] && kill "$KX_XVFB_PID" 2>/dev/null
    # The watcher ignores the polite signals (so that a test timeout cannot
    # stop it first); left running, it would take down the application of the
    # next run in the same directory.
    [ -n "$KX_WATCHDOG_PID" ] && kill -KILL "$KX_WATCHDOG_PID" 2>/dev/null
    [ -n "$KX_APP_PID" ] && wait "$KX_APP_PID" 2>/dev/null
    [ -n "$KX_XVFB_PID" ] && wait "$KX_XVFB_PID" 2>/dev/null
    KX_APP_PID="" KX_XVFB_PID=""
    if [ -d "${KX_WORK:-}" ]; then
        {
            echo "log: $KX_WORK/e2e.log"
            [ -f "$KX_WORK/app.log" ] && echo "application output: $KX_WORK/app.log"
            ls "$KX_WORK"/*.png 2>/dev/null | sed 's/^/screenshot: /'
        } >&2
    fi
    return $status
}

kx_require_tools() {
    local tool missing=()
    for tool in Xvfb xdotool xprop xwd xwdtopnm pnmtopng xwininfo; do
        command -v "$tool" > /dev/null || missing+=("$tool")
    done
    [ ${#missing[@]} -eq 0 ] || kx_fail "missing tools: ${missing[*]} (run scripts/install-dependencies)"
}

# Starts Xvfb on a display number it picks itself, so parallel runs and other
# X servers on the machine never collide.
kx_setup() {
    mkdir -p "$KX_WORK"
    : > "$KX_WORK/e2e.log"
    rm -f "$KX_WORK/failed"
    kx_require_tools
    trap kx_cleanup EXIT
    trap 'kx_fail "interrupted"' INT TERM HUP
    set -E
    trap 'kx_fail "unexpected failure of: $BASH_COMMAND"' ERR

    kx_step "start X server"
    local displayfile="$KX_WORK/display" deadline
    : > "$displayfile"
    Xvfb -displayfd 3 -screen 0 "${KX_SCREEN_SIZE}x24" -nolisten tcp -noreset \
        3> "$displayfile" > "$KX_WORK/xvfb.log" 2>&1 &
    KX_XVFB_PID=$!
    deadline=$(( $(date +%s) + $(kx_budget 15) ))
    until [ -s "$displayfile" ]; do
        kill -0 "$KX_XVFB_PID" 2>/dev/null || kx_fail "Xvfb exited: $(tail -3 "$KX_WORK/xvfb.log")"
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "Xvfb did not report its display"
        sleep 0.05
    done
    export DISPLAY=":$(tr -d '[:space:]' < "$displayfile")"
    kx_log "Xvfb pid $KX_XVFB_PID on $DISPLAY"

    # Should this shell be killed outright (a test timeout sends SIGKILL), the
    # trap never runs; this watcher takes the X server and the application down.
    local parent=$$
    (
        set +e
        trap - ERR EXIT
        trap '' INT TERM HUP
        while kill -0 "$parent" 2>/dev/null; do sleep 1; done
        kill "$KX_XVFB_PID" 2>/dev/null
        [ -f "$KX_WORK/app.pid" ] && kill "$(cat "$KX_WORK/app.pid")" 2>/dev/null
    ) > /dev/null 2>&1 &
    KX_WATCHDOG_PID=$!
}

# kx_start_app BINARY [FILE]: starts the application with settings of its own
# below KX_WORK and Qt's own (not native) file dialogs.
kx_start_app() {
    local binary
    binary=$(readlink -f "$1")
    shift
    mkdir -p "$KX_WORK/home/.config" "$KX_WORK/runtime"
    chmod 700 "$KX_WORK/runtime"
    local asan=${ASAN_OPTIONS:-}
    # Leaks are the unit tests' business; those of the X platform plugin would
    # only turn a sanitizer build's clean quit into a failure here.
    [ -n "$asan" ] && asan="$asan:detect_leaks=0"
    # The working directory is where file dialogs start.
    (cd "$KX_WORK" && exec env HOME="$KX_WORK/home" XDG_CONFIG_HOME="$KX_WORK/home/.config" XDG_RUNTIME_DIR="$KX_WORK/runtime" \
        QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= QT_XCB_GL_INTEGRATION=none QT_ACCESSIBILITY=0 \
        NO_AT_BRIDGE=1 LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE= ASAN_OPTIONS="$asan" \
        "$binary" "$@") >> "$KX_WORK/app.log" 2>&1 &
    KX_APP_PID=$!
    echo "$KX_APP_PID" > "$KX_WORK/app.pid"
    kx_log "started $binary $* (pid $KX_APP_PID)"
}

kx_app_running() {
    [ -n "$KX_APP_PID" ] && kill -0 "$KX_APP_PID" 2>/dev/null
}

# Waits for the application to end by itself; its exit status must be 0.
kx_wait_app_exit() {
    local deadline=$(( $(date +%s) + $(kx_budget "${1:-}") )) status
    while kx_app_running; do
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "application did not quit"
        sleep 0.1
    done
    wait "$KX_APP_PID"
    status=$?
    KX_APP_PID=""
    rm -f "$KX_WORK/app.pid"
    [ "$status" -eq 0 ] || kx_fail "application quit with status $status (see $KX_WORK/app.log)"
    kx_log "application quit"
}

kx_list_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        echo "window $id: $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# kx_find_window REGEX: prints the id of a visible window whose title matches
# (extended regex), if there is one.
kx_find_window() {
    { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | head -n 1
}

# kx_wait_found WHAT SECONDS COMMAND...: prints what COMMAND prints, once it
# prints anything.
kx_wait_found() {
    local what=$1 deadline=$(( $(date +%s) + $(kx_budget "$2") )) id
    shift 2
    while :; do
        id=$("$@")
        if [ -n "$id" ]; then
            kx_log "$what is $id"
            echo "$id"
            return 0
        fi
        kx_app_running || kx_fail "application ended while waiting for $what (see $KX_WORK/app.log)"
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "$what did not appear"
        sleep 0.05
    done
}

# kx_wait_window REGEX [SECONDS]: prints the id of the window once it shows.
kx_wait_window() { kx_wait_found "window '$1'" "${2:-}" kx_find_window "$1"; }

# Qt names its popup menus only through _NET_WM_NAME, which the title search
# does not look at; the window type tells them apart.
kx_find_popup() {
    local id
    for id in $(xdotool search --onlyvisible --class 'KX Suite' 2>/dev/null || true); do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_POPUP_MENU; then
            echo "$id"
            return 0
        fi
    done
}

kx_wait_popup() { kx_wait_found "the popup menu" "${1:-}" kx_find_popup; }

kx_wait_window_gone() {
    local deadline=$(( $(date +%s) + $(kx_budget "${2:-}") ))
    while [ -n "$(kx_find_window "$1")" ]; do
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "window '$1' did not close"
        sleep 0.05
    done
}

# kx_wait_title WINDOW REGEX: waits until the window's title matches.
kx_wait_title() {
    local deadline=$(( $(date +%s) + $(kx_budget "${3:-}") )) title
    while :; do
        title=$(xdotool getwindowname "$1" 2>/dev/null)
        [[ "$title" =~ $2 ]] && return 0
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "title of window $1 is '$title', expected /$2/"
        sleep 0.05
    done
}

# Gives the window the keyboard focus. There is no window manager, so the
# focus goes back to the root window whenever a focused window closes.
kx_focus() {
    timeout "$(kx_budget 10)" xdotool windowfocus --sync "$1" 2>> "$KX_WORK/e2e.log" \
        || kx_fail "could not focus window $1"
}

kx_key() {
    kx_log "key $*"
    xdotool key --delay 40 "$@" || kx_fail "xdotool key $* failed"
}

kx_type() {
    kx_log "type '$1'"
    xdotool type --delay 25 -- "$1" || kx_fail "xdotool type failed"
}

# kx_wait_file PATH [SECONDS]: waits until the file exists and is not empty.
kx_wait_file() {
    local deadline=$(( $(date +%s) + $(kx_budget "${2:-}") ))
    until [ -s "$1" ]; do
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "file $1 was not written"
        sleep 0.05
    done
}

# kx_geometry WINDOW: sets KX_X, KX_Y, KX_W, KX_H (absolute position and size).
kx_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || kx_fail "no geometry for window $1"
    KX_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<< "$info")
    KX_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<< "$info")
    KX_W=$(sed -n 's/^ *Width: *//p' <<< "$info")
    KX_H=$(sed -n 's/^ *Height: *//p' <<< "$info")
}

# kx_click WINDOW X Y: a left click at a position inside the window.
kx_click() {
    kx_geometry "$1"
    kx_log "click $1 at $2,$3"
    xdotool mousemove --sync $(( KX_X + $2 )) $(( KX_Y + $3 )) click 1 || kx_fail "click failed"
}

# kx_shot WINDOW FILE: writes the window's content (no desktop around it) as PNG.
kx_shot() {
    local out=$2
    case "$out" in /*) ;; *) KX_SHOT_COUNT=$(( KX_SHOT_COUNT + 1 )); out="$KX_WORK/$(printf '%02d' "$KX_SHOT_COUNT")-$out.png" ;; esac
    if xwd -silent -id "$1" 2>> "$KX_WORK/e2e.log" | xwdtopnm 2>/dev/null | pnmtopng > "$out" 2>/dev/null \
        && [ -s "$out" ]; then
        kx_log "screenshot $out"
    else
        kx_log "screenshot of window $1 failed"
        rm -f "$out"
    fi
}

# kx_shot_settled WINDOW FILE: like kx_shot, once two captures in a row agree,
# so that a resize or a scroll has been painted.
kx_shot_settled() {
    local deadline=$(( $(date +%s) + $(kx_budget "${3:-}") ))
    local previous="$KX_WORK/settle-a.png" current="$KX_WORK/settle-b.png"
    # The capture reads the screen, so nothing may lie on top of the window.
    xdotool windowraise "$1"
    kx_shot "$1" "$previous"
    while :; do
        sleep 0.2
        kx_shot "$1" "$current"
        [ -s "$current" ] && cmp -s "$previous" "$current" && break
        [ "$(date +%s)" -lt "$deadline" ] || kx_fail "window $1 did not stop changing"
        mv "$current" "$previous"
    done
    mv "$current" "$2"
    rm -f "$previous"
    kx_log "screenshot $2"
}

# kx_save_dialog TITLE_REGEX PATH: fills in a Qt file dialog and accepts it.
# The file name field has the focus and the suggested name selected.
kx_save_dialog() {
    local dialog
    dialog=$(kx_wait_window "$1")
    kx_focus "$dialog"
    kx_key ctrl+a
    kx_type "$2"
    kx_key Return
    kx_wait_window_gone "$1"
}
