#!/usr/bin/env bash
# A UTF-8 script, as mIRC 7 writes it, opened with Ctrl+O; a line of Cyrillic, a star and an emoji
# typed at its end; saved with Ctrl+S under a new name: the file holds the old bytes and the typed
# characters in UTF-8, with CR LF before the new line.
source "$(dirname "$0")/../driver.sh"
e2e_begin
# "; Привет ₽" and "echo -a ok", in UTF-8.
printf '; \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe2\x82\xbd\r\necho -a ok' >"$E2E_WORK/greeting.mrc"
start_program

open_file "$E2E_WORK/greeting.mrc"
wait_window "Orl version 1\.0 - \[$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$E2E_WORK/greeting.mrc")\]"
press ctrl+End Return
type_text 'Ёжик ★ 😀'
save_as "$E2E_WORK/saved.mrc"

expect_bytes "$E2E_WORK/saved.mrc" \
    '; \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe2\x82\xbd\r\necho -a ok\r\n''\xd0\x81\xd0\xb6\xd0\xb8\xd0\xba \xe2\x98\x85 \xf0\x9f\x98\x80'
