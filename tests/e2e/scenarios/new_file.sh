#!/usr/bin/env bash
# Ctrl+N, two typed lines with Cyrillic letters, Ctrl+S and a typed path: the file holds their
# Windows-1251 bytes with CR LF between the lines and nothing after the last.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_lines 'on *:text:Привет*:#: { msg $chan Здравствуй, $nick! }' 'Ёжик в тумане №1 ЪЫЬ'
save_as "$E2E_WORK/greeting.mrc"

expect_bytes "$E2E_WORK/greeting.mrc" \
    'on *:text:\xcf\xf0\xe8\xe2\xe5\xf2*:#: { msg $chan \xc7\xe4\xf0\xe0\xe2\xf1\xf2\xe2\xf3\xe9, $nick! }\r\n''\xa8\xe6\xe8\xea \xe2 \xf2\xf3\xec\xe0\xed\xe5 \xb91 \xda\xdb\xdc'
