#!/usr/bin/env bash
# Clicks on palette rows and arrow-key moves through a palette append their snippets as new last
# lines; Ctrl+K and a click on a colour square append 0x03 and the square's number.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
# The right panel shrinks on a shorter window; tall enough, it has the layout's own places.
xdotool windowsize --sync "$MAIN_WINDOW" 870 800
window_geometry "$MAIN_WINDOW"
# Rows are 14 pixels high. "ON Панель" lies along the left edge; "Команды" and "Диалог. Окна" are
# in the panel along the right edge.
on_panel_x=40 on_panel_row0=71
right_panel_x=$((WW - 85)) comands_row0=313 dialog_row0=568

click_at "$MAIN_WINDOW" $on_panel_x $on_panel_row0
press Down
click_at "$MAIN_WINDOW" $right_panel_x $((comands_row0 + 2 * 14))
press Down
click_at "$MAIN_WINDOW" $right_panel_x $dialog_row0

# The colour squares are 17 pixels wide, 24 apart: "4" is the fifth of the first row, "12" the
# fifth of the second.
pick_colour() {
    press ctrl+k
    wait_window '^Цвета$'
    click_at "$WINDOW" "$1" "$2"
    wait_gone '^Цвета$'
    focus_window "$MAIN_WINDOW"
}
pick_colour 104 8
pick_colour 104 32

save_as "$E2E_WORK/snippets.mrc"
expect_bytes "$E2E_WORK/snippets.mrc" '%s\r\n' \
    'on *:action:' \
    'on *:active:' \
    'alias [filename] <aliasname> <command>' \
    'aline [-sahpi[N]nltc[N]] [c] <@name> <text>' \
    'dialog <name> {&  title "<|>[text]"&  size -1 -1 x y&  option dbu|pixels&}&' \
    $'\x034' \
    $'\x0312'
