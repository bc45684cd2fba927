#!/usr/bin/env bash
# The dialog designer, opened from the "Создать" menu: a header and a button line are built,
# moved to the code memo with "Вставить код в редактор", then to the script editor with
# "Вставить код из редактора  в редактор скриптов"; the user closes the table and saves.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
# "Создать" in the menu bar, then its third item, "Создать диалоговое окно".
click_at "$MAIN_WINDOW" 210 9
press Down Down Down Return
wait_window '^\.:: Создание диалоговых окон ::\.$'
designer=$WINDOW
focus_window "$designer"

# The designer's controls stand where its fixed layout puts them.
to_code_memo() { click_at "$designer" 428 508; }
to_script_editor() { click_at "$designer" 496 540; }

# Page 0, shown first: the header, the title typed with its quotes.
click_at "$designer" 522 83
type_text '"Окно"'
click_at "$designer" 516 348
to_code_memo

# Page 1, "Создать кнопку": text, "Недоступна", type "ok cancel" on the second tab, id.
click_at "$designer" 336 68
click_at "$designer" 530 91
type_text '"OK"'
click_at "$designer" 458 161
click_at "$designer" 596 45
click_at "$designer" 522 91
press Down Down Down Return
click_at "$designer" 528 393
type_text '1'
click_at "$designer" 528 348
to_code_memo
to_script_editor

# Nothing in the designer writes the closing brace: the user types it.
focus_window "$MAIN_WINDOW"
press ctrl+End
type_text '}'
save_as "$E2E_WORK/dialog.mrc"
# The code memo ends with a line break, so the editor gets an empty line after the button line.
expect_bytes "$E2E_WORK/dialog.mrc" '%b\r\n%b\r\n%b\r\n%b\r\n%b\r\n\r\n}' \
    'dialog new_table {' \
    'title "\xce\xea\xed\xee"' \
    'size -1 -1 0 0' \
    'option pixels' \
    'button "OK", 1, 25 25 37 12 ,disable      ok cancel'
