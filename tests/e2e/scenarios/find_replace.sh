#!/usr/bin/env bash
# Find and replace through their dialogs: "Найти далее" selects the next match from the caret,
# ignoring case in Cyrillic too; "Заменить" replaces the selection, and with nothing selected or
# nothing more to find the "Текст не найден" box says so. The result is saved and compared.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_lines 'alias greet { echo -a Привет, $1 }' 'on *:join:#: { greet $nick }' 'alias bye { echo -a ПРИВЕТ всем }'
press ctrl+Home

press ctrl+f
wait_window '^Найти$'
find_dialog=$WINDOW
# Moved aside, as a person would, so that it does not cover the replace dialog.
xdotool windowmove "$find_dialog" 20 20
focus_window "$find_dialog"
type_text 'привет'
press Return

press ctrl+alt+z
wait_window '^Заменить$'
replace_dialog=$WINDOW
window_geometry "$replace_dialog"
replace_field_x=216 row_2_y=50 buttons_x=$((WW - 59))
focus_window "$replace_dialog"
# "Заменить" put the selected match into the field; it is replaced by the new text.
click_at "$replace_dialog" $replace_field_x $row_2_y
press ctrl+a
type_text 'Здравствуй'
replace() { focus_window "$replace_dialog"; click_at "$replace_dialog" $buttons_x $row_2_y; }
find_next() { focus_window "$find_dialog"; press Return; }
dismiss_not_found() {
    wait_window '^Текст не найден$'
    focus_window "$WINDOW"
    press Return
    wait_gone '^Текст не найден$'
}

replace
# Nothing is selected after a replacement.
replace
dismiss_not_found
find_next
replace
find_next
dismiss_not_found

focus_window "$find_dialog"
press Escape
focus_window "$replace_dialog"
press Escape
wait_gone '^(Найти|Заменить)$'
focus_window "$MAIN_WINDOW"
save_as "$E2E_WORK/replaced.mrc"
expect_bytes "$E2E_WORK/replaced.mrc" '%b\r\n%b\r\n%b' \
    'alias greet { echo -a \xc7\xe4\xf0\xe0\xe2\xf1\xf2\xe2\xf3\xe9, $1 }' \
    'on *:join:#: { greet $nick }' \
    'alias bye { echo -a \xc7\xe4\xf0\xe0\xe2\xf1\xf2\xe2\xf3\xe9 \xe2\xf1\xe5\xec }'
