#!/usr/bin/env bash
# Driver of the end-to-end scenarios.
#
#   driver.sh run SCENARIO   runs scenarios/SCENARIO.sh under its own Xvfb display, in its own
#                            temporary folder, within E2E_TIME_LIMIT seconds (the ctest command).
#   source driver.sh         what a scenario does: functions that start the program, find windows,
#                            type, click, answer the file dialogs, compare files and clean up.
#
# Environment (set by tests/e2e/CMakeLists.txt): ORL_BUILD_DIR (holds orl and Dat/), E2E_PROBE
# (screenshot program), E2E_OUTPUT (screenshots), ORL_CORPUS_DIR, E2E_TIME_LIMIT; E2E_TRACE=1 traces
# every step with its time.

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# ---------------------------------------------------------------------------------------------
# Running one scenario

run_scenario() {
    local name=$1 limit=${E2E_TIME_LIMIT:-60} work status=0 attempt tool
    for tool in xvfb-run xauth xdotool xkbcomp setxkbmap timeout cmp od; do
        command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/setup installs it)" >&2; return 1; }
    done
    [ -x "$ORL_BUILD_DIR/orl" ] || { echo "e2e: $ORL_BUILD_DIR/orl is not built" >&2; return 1; }
    mkdir -p "$E2E_OUTPUT"
    rm -rf "$E2E_OUTPUT/$name.png" "$E2E_OUTPUT/$name-files"
    work=$(mktemp -d "${TMPDIR:-/tmp}/orl-e2e-$name.XXXXXX")
    # xvfb-run -a can lose a race for a display number with another X server starting at the same
    # moment; the scenario marks that it got as far as running, so only that case is retried.
    for attempt in 1 2 3; do
        status=0
        # timeout ends the whole process group (xvfb-run, Xvfb, the scenario and the program) on overrun.
        # -noreset: the X server would otherwise reset, dropping the keyboard map loaded for the
        # scenario, whenever its last client leaves, as the map loader does before the program starts.
        E2E_WORK=$work E2E_SCENARIO=$name timeout -k 5 "$limit" \
            xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$E2E_DIR/scenarios/$name.sh" || status=$?
        [ -e "$work/started" ] && break
        echo "e2e: the X server did not start (attempt $attempt)" >&2
        sleep 1
    done
    # A folder the scenario made unwritable may be left so by an overrun.
    chattr -R -i "$work" >/dev/null 2>&1 || true
    case $status in
    0 | 77) rm -rf "$work" ;;
    *)
        [ "$status" -eq 124 ] || [ "$status" -eq 137 ] && echo "e2e: $name went over its limit of $limit s" >&2
        mv "$work" "$E2E_OUTPUT/$name-files"
        echo "e2e: the screen at the end is $E2E_OUTPUT/$name.png; the run's files are in $E2E_OUTPUT/$name-files" >&2
        ;;
    esac
    return "$status"
}

if [ "${1:-}" = run ]; then
    run_scenario "$2"
    exit
fi

# ---------------------------------------------------------------------------------------------
# Inside a scenario

ORL_PID=
WINDOW=
MAIN_WINDOW=
LOCKED_FOLDERS=()

# Reports the failure with the scenario line that led to it.
fail() {
    local i=1 where=
    while [ $i -lt ${#BASH_SOURCE[@]} ]; do
        if [ "${BASH_SOURCE[$i]}" != "${BASH_SOURCE[0]}" ]; then
            where=" ($(basename "${BASH_SOURCE[$i]}") line ${BASH_LINENO[$((i - 1))]})"
            break
        fi
        i=$((i + 1))
    done
    echo "FAIL: $*$where" >&2
    exit 1
}

skip() {
    echo "SKIPPED: $*"
    exit 77
}

# Starts the scenario: strict mode, a private home, the X keyboard map, cleanup on every exit.
e2e_begin() {
    set -euo pipefail
    touch "$E2E_WORK/started"
    cd "$E2E_WORK"
    E2E_DEADLINE=$((SECONDS + ${E2E_TIME_LIMIT:-60} - 5))
    trap e2e_end EXIT
    mkdir -p home runtime
    chmod 700 runtime
    # The file dialog keeps its history under the home folder; each run starts from a clean one.
    export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/.config
    export XDG_CACHE_HOME=$E2E_WORK/home/.cache XDG_RUNTIME_DIR=$E2E_WORK/runtime
    export LC_ALL=C.UTF-8
    use_standard_fonts
    # The tests around this suite run offscreen; the program here must use the X display. The
    # scenarios drive Qt's own file dialog, which a desktop session's theme would replace by its own.
    export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=generic
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
    if [ -n "${E2E_TRACE:-}" ]; then
        PS4='+ ${SECONDS}s ${BASH_SOURCE[0]##*/}:${LINENO}: '
        set -x
    fi
    load_cyrillic_keymap
}

e2e_end() {
    local status=$?
    trap - EXIT
    screenshot
    for folder in "${LOCKED_FOLDERS[@]}"; do unlock_folder "$folder"; done
    if [ -n "$ORL_PID" ] && kill -0 "$ORL_PID" 2>/dev/null; then
        kill "$ORL_PID" 2>/dev/null || true
        for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$ORL_PID" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$ORL_PID" 2>/dev/null || true
        wait "$ORL_PID" 2>/dev/null || true
    fi
    # A build with sanitizers (scripts/sanitize) reports memory errors, leaks and undefined
    # behaviour in the program's output, whether or not the scenario noticed anything.
    if [ "$status" -eq 0 ] && grep -qE '^==[0-9]+==ERROR: |runtime error: ' "$E2E_WORK/orl.log" 2>/dev/null; then
        echo "e2e: the program reported a sanitizer error" >&2
        status=1
    fi
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -s "$E2E_WORK/orl.log" ]; then
        echo "--- program output:" >&2
        tail -n 40 "$E2E_WORK/orl.log" >&2
    fi
    exit "$status"
}

# The program's layout, and so where a scenario clicks, depends on the fonts. Every machine shows
# it with the fonts that scripts/setup installs (fonts-dejavu-core, fonts-liberation2), whatever else it has.
use_standard_fonts() {
    local face
    mkdir -p fonts
    for face in dejavu/DejaVuSans dejavu/DejaVuSans-Bold dejavu/DejaVuSansMono dejavu/DejaVuSansMono-Bold \
        dejavu/DejaVuSerif dejavu/DejaVuSerif-Bold liberation2/LiberationSans-Regular liberation2/LiberationSans-Bold \
        liberation2/LiberationSans-Italic liberation2/LiberationSans-BoldItalic; do
        [ -f "/usr/share/fonts/truetype/$face.ttf" ] || fail "font $face is missing (scripts/setup installs it)"
        ln -s "/usr/share/fonts/truetype/$face.ttf" fonts/
    done
    # The system's rules (aliases such as monospace) apply; only the font folders are replaced.
    cat >fonts/fonts.conf <<EOF
<?xml version="1.0"?>
<fontconfig>
  <dir>$E2E_WORK/fonts</dir>
  <cachedir>$E2E_WORK/fonts/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF
    export FONTCONFIG_FILE=$E2E_WORK/fonts/fonts.conf
}

check_deadline() {
    ((SECONDS < E2E_DEADLINE)) || fail "the scenario ran out of time"
}

# xdotool types a character that the keyboard map lacks by remapping a spare key for it, and the
# program may read the map after it has already changed back: Cyrillic letters then go missing.
# Putting them, and the few other characters the scenarios type (№, ★ and an emoji), on keys the
# scenarios never press makes every typed character a plain key press.
# Every keyboard device gets the map, as the XTEST keyboard hands its own map to the core one.
load_cyrillic_keymap() {
    local names="a be ve ghe de ie io zhe ze i shorti ka el em en o pe er es te u ef ha tse che sha
                 shcha hardsign yeru softsign e yu ya"
    local base symbols name code=210 id
    base=$(setxkbmap -print) || fail "cannot read the keyboard map"
    symbols=$(sed -n 's/.*xkb_symbols *{ *include "\([^"]*\)".*/\1/p' <<<"$base")
    {
        grep -v -e 'xkb_symbols' -e '^};' <<<"$base"
        printf '\txkb_symbols { include "%s"\n' "$symbols"
        for name in $names; do
            printf '\t\toverride key <I%d> { [ Cyrillic_%s, Cyrillic_%s ] };\n' "$code" "$name" "${name^^}"
            code=$((code + 1))
        done
        printf '\t\toverride key <I%d> { [ numerosign ] };\n' "$code"
        printf '\t\toverride key <I%d> { [ U2605 ] };\n' $((code + 1))
        printf '\t\toverride key <I%d> { [ U1F600 ] };\n\t};\n};\n' $((code + 2))
    } >keymap.xkb
    # A compiled map uploads reliably; xkbcomp silently ignores some text maps sent to a display.
    xkbcomp -w 0 -xkm keymap.xkb keymap.xkm || fail "cannot compile the keyboard map"
    for id in $(seq 2 16); do
        if xkbcomp -i "$id" -xkb "$DISPLAY" /dev/null >/dev/null 2>&1; then
            xkbcomp -w 0 -i "$id" keymap.xkm "$DISPLAY" || fail "cannot load the keyboard map"
        fi
    done
    xkbcomp -xkb "$DISPLAY" loaded.xkb 2>/dev/null
    grep -q Cyrillic_shcha loaded.xkb || fail "the keyboard map did not load"
}

program_alive() {
    [ -n "$ORL_PID" ] && kill -0 "$ORL_PID" 2>/dev/null
}

# Starts the built program in the build folder, which holds Dat/.
start_program() {
    (cd "$ORL_BUILD_DIR" && exec ./orl) >"$E2E_WORK/orl.log" 2>&1 &
    ORL_PID=$!
    wait_window 'Orl version 1\.0'
    MAIN_WINDOW=$WINDOW
    focus_window "$MAIN_WINDOW"
}

# Sets WINDOW to the first visible window whose title matches the extended regular expression.
wait_window() {
    local pattern=$1 limit=${2:-20}
    local until=$((SECONDS + limit))
    WINDOW=
    while :; do
        WINDOW=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1) || true
        [ -n "$WINDOW" ] && return 0
        program_alive || fail "the program ended while a window \"$pattern\" was awaited"
        ((SECONDS < until)) || fail "no window \"$pattern\" appeared within $limit s"
        check_deadline
        sleep 0.1
    done
}

# True once no visible window matches; false if one still does after the given seconds.
window_gone() {
    local pattern=$1 limit=${2:-10}
    local until=$((SECONDS + limit))
    while xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
        ((SECONDS < until)) || return 1
        check_deadline
        sleep 0.1
    done
}

wait_gone() {
    window_gone "$1" "${2:-10}" || fail "the window \"$1\" is still open"
}

# There is no window manager: a window is raised and given the keyboard focus directly.
focus_window() {
    xdotool windowraise "$1"
    timeout 5 xdotool windowfocus --sync "$1" || fail "cannot give the focus to window $1"
}

press() {
    xdotool key --delay 40 "$@"
}

type_text() {
    xdotool type --delay 15 "$1"
}

# Types each argument as one line, pressing Enter between them.
type_lines() {
    local first=1 line
    for line in "$@"; do
        [ $first -eq 1 ] || press Return
        first=0
        type_text "$line"
    done
}

# Clicks at x, y within a window. The server takes the move before the click, so nothing waits for
# the move (--sync would wait for a move that never comes when the pointer is already there).
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Sets WX, WY, WW and WH to a window's place and size on the screen.
window_geometry() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# Types a full path into the file name field of the open or save dialog and confirms it.
answer_file_dialog() {
    local title=$1 path=$2
    wait_window "$title"
    focus_window "$WINDOW"
    press ctrl+a
    type_text "$path"
    press Return
    # A completion list that opened while the path was typed takes the first Enter.
    if ! window_gone "$title" 3; then
        press Return
        wait_gone "$title"
    fi
    # Without a window manager the focus does not go back by itself when a dialog closes.
    focus_window "$MAIN_WINDOW"
}

# The titles Qt's file dialogs have in Russian, the translation the program always loads.
SAVE_DIALOG='^Сохранить как$'
OPEN_DIALOG='^Открыть$'

# "Сохранить как..." through its shortcut.
save_as() {
    press ctrl+s
    answer_file_dialog "$SAVE_DIALOG" "$1"
}

# "Открыть..." through its shortcut.
open_file() {
    press ctrl+o
    answer_file_dialog "$OPEN_DIALOG" "$1"
}

# Answers the program's question before a save replaces a file: Д (Да) replaces, Н (Нет) goes
# back to the save dialog.
answer_replace_question() {
    wait_window '^Подтверждение замены$'
    focus_window "$WINDOW"
    press "$1"
    wait_gone '^Подтверждение замены$'
}

# Makes a folder unwritable: by its mode, or for root, whom modes do not stop, by the immutable
# attribute where the file system has it. False when neither works.
lock_folder() {
    if [ "$(id -u)" -ne 0 ]; then
        chmod a-w "$1"
    else
        command -v chattr >/dev/null && chattr +i "$1" 2>/dev/null || return 1
    fi
    LOCKED_FOLDERS+=("$1")
    if touch "$1/.writable" 2>/dev/null; then
        rm -f "$1/.writable"
        unlock_folder "$1"
        return 1
    fi
}

unlock_folder() {
    chattr -i "$1" 2>/dev/null || true
    chmod u+w "$1" 2>/dev/null || true
}

# Waits for the error box, which has the program's title as its caption, and closes it.
dismiss_error_box() {
    wait_window '^Orl$'
    focus_window "$WINDOW"
    press Return
    wait_gone '^Orl$'
    focus_window "$MAIN_WINDOW"
}

# Waits until a file holds exactly the bytes of another one: the program writes the file right
# after its dialog has closed.
expect_file() {
    local file=$1 expected=$2
    local until=$((SECONDS + 10))
    until cmp -s "$file" "$expected"; do
        if ((SECONDS >= until)); then
            echo "FAIL: $file does not hold the expected bytes" >&2
            cmp "$file" "$expected" >&2 || true
            echo "--- saved (start):" >&2
            od -c "$file" 2>&1 | head -n 16 >&2 || true
            echo "--- expected (start):" >&2
            od -c "$expected" | head -n 16 >&2 || true
            exit 1
        fi
        sleep 0.2
    done
}

# expect_bytes FILE FORMAT [ARGS...]: the expected bytes are printf's output (\r, \n, \xHH).
expect_bytes() {
    local file=$1
    shift
    # shellcheck disable=SC2059
    printf "$@" >"$E2E_WORK/expected.bytes"
    expect_file "$file" "$E2E_WORK/expected.bytes"
}

screenshot() {
    "$E2E_PROBE" screenshot "$E2E_OUTPUT/$E2E_SCENARIO.png" >/dev/null 2>&1 ||
        echo "e2e: could not save the screenshot" >&2
}
