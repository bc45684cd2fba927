#!/usr/bin/env bash
# The menus from the keyboard alone, with no window manager at all: F10 and a lone Alt reach the
# menu bar and the items' underlined letters run them; Ctrl+F6, Alt+number and the window list
# switch between the script windows, and Ctrl+F4 closes one; the colour picker takes the keyboard
# as it opens. After "Сохранить как..." the caption
# names the file the window now writes. The windows' class is the desktop entry's name.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program
class=$(xprop -id "$MAIN_WINDOW" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "orl", "io.github.orl.Orl"' ] || fail "the main window's class is $class"

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_text 'first'
press ctrl+n
wait_window 'Orl version 1\.0 - \[script2\.mrc\]'
type_text 'second'
press ctrl+F6
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
press alt+2
wait_window 'Orl version 1\.0 - \[script2\.mrc\]'

# Ctrl+K: the picker has the keyboard at once; two squares to the right is colour 2.
press ctrl+k
wait_window '^Цвета$'
press Right Right Return
wait_gone '^Цвета$'
focus_window "$MAIN_WINDOW"

# F10 opens "Файл"; к runs "Сохранить как...".
press F10 Cyrillic_ka
answer_file_dialog "$SAVE_DIALOG" "$E2E_WORK/second.mrc"
expect_bytes "$E2E_WORK/second.mrc" 'second\r\n\x032'
wait_window "Orl version 1\\.0 - \\[$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$E2E_WORK/second.mrc")\\]"

# A lone Alt selects the menu bar; о opens "Окна", whose item 1 is the first window.
press alt
press Cyrillic_o 1
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
# Alt, ф ("Файл") and х ("Сохранить"): the window has no file yet, so the dialog asks for one.
press alt
press Cyrillic_ef Cyrillic_ha
answer_file_dialog "$SAVE_DIALOG" "$E2E_WORK/first.mrc"
expect_bytes "$E2E_WORK/first.mrc" 'first'

# Ctrl+F4 closes the active window; the other one remains.
press ctrl+F4
wait_window 'Orl version 1\.0 - \[.*second\.mrc\]'
