#!/usr/bin/env bash
# A save that cannot create its file shows the error box and leaves the old file as it was; the
# text stays in the window and can still be saved elsewhere.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_text 'alias hello { echo -a Привет }'
save_as "$E2E_WORK/old.mrc"
old_bytes='alias hello { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }'
expect_bytes "$E2E_WORK/old.mrc" "$old_bytes"
cp "$E2E_WORK/old.mrc" "$E2E_WORK/old.mrc.before"

press Return
type_text 'alias bye { echo -a Пока }'
# A path under the old file, as if it were a folder: no one can create it, root included.
save_as "$E2E_WORK/old.mrc/new.mrc"
# The error box has the program's title as its caption.
wait_window '^Orl$'
error_box=$WINDOW
cmp "$E2E_WORK/old.mrc" "$E2E_WORK/old.mrc.before" || fail "the failed save changed the old file"
focus_window "$error_box"
press Return
wait_gone '^Orl$'

focus_window "$MAIN_WINDOW"
save_as "$E2E_WORK/kept.mrc"
expect_bytes "$E2E_WORK/kept.mrc" "$old_bytes"'\r\nalias bye { echo -a \xcf\xee\xea\xe0 }'
cmp "$E2E_WORK/old.mrc" "$E2E_WORK/old.mrc.before" || fail "the old file changed"
