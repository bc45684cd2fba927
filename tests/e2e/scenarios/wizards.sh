#!/usr/bin/env bash
# The alias and variable creators of the "Создать" menu: each press of their "Создать" button
# appends its line to the script window.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
# "Создать" in the menu bar, then its first or second item.
open_wizard() {
    click_at "$MAIN_WINDOW" 210 9
    press "$@" Return
}

# "Алиас": a name, a command picked by typing its first letters in the list, "Создать".
open_wizard Down
wait_window '^\.:: Alias Create ::\. $'
alias_creator=$WINDOW
focus_window "$alias_creator"
click_at "$alias_creator" 100 26
type_text 'myjoin'
click_at "$alias_creator" 40 79
type_text 'join'
click_at "$alias_creator" 237 28
press Escape
wait_gone 'Alias Create'
focus_window "$MAIN_WINDOW"

# "Переменную": a name, then "set - Постоянная" and "var - Временная" in turn, "Создать" each.
open_wizard Down Down
wait_window '^\.:: Создние перемменной ::\.$'
variable_creator=$WINDOW
focus_window "$variable_creator"
click_at "$variable_creator" 91 26
type_text 'count'
click_at "$variable_creator" 30 63
click_at "$variable_creator" 237 76
click_at "$variable_creator" 30 76
click_at "$variable_creator" 237 76
press Escape
wait_gone 'перемменной'
focus_window "$MAIN_WINDOW"

save_as "$E2E_WORK/wizards.mrc"
expect_bytes "$E2E_WORK/wizards.mrc" '%s\r\n' 'alias myjoin join' 'set %count' 'var %count'
