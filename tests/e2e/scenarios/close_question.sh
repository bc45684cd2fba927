#!/usr/bin/env bash
# Closing a modified script window asks "Текст в окне ... был изменен. Сохранить изменения?":
# Cancel keeps the window and its text, Yes saves it through the save dialog before closing, and
# No discards it. The ways of closing are used: the close keys of "Закрыть" (Ctrl+F4, and the
# platform's Ctrl+W) and the window's close box.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program
no_editor='^\.:: Orl ::\. Orl version 1\.0$'
# Answers the question box with a key: Д (Да), Н (Нет) or Escape (Отмена).
answer_question() {
    wait_window '^Подтверждение$'
    focus_window "$WINDOW"
    press "$1"
    wait_gone '^Подтверждение$'
}

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_text 'alias keep { echo -a сохранить }'

press ctrl+F4
answer_question Escape
focus_window "$MAIN_WINDOW"
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'

press ctrl+w
answer_question Cyrillic_de
answer_file_dialog "$SAVE_DIALOG" "$E2E_WORK/kept.mrc"
wait_window "$no_editor"
expect_bytes "$E2E_WORK/kept.mrc" 'alias keep { echo -a \xf1\xee\xf5\xf0\xe0\xed\xe8\xf2\xfc }'

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_text 'alias drop { echo -a выбросить }'
# The maximized window's close box sits at the right end of the main window's menu bar.
window_geometry "$MAIN_WINDOW"
click_at "$MAIN_WINDOW" $((WW - 10)) 10
answer_question Cyrillic_en
wait_window "$no_editor"
[ "$(ls "$E2E_WORK"/*.mrc)" = "$E2E_WORK/kept.mrc" ] || fail "a discarded text was written"
expect_bytes "$E2E_WORK/kept.mrc" 'alias keep { echo -a \xf1\xee\xf5\xf0\xe0\xed\xe8\xf2\xfc }'
