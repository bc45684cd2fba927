#!/usr/bin/env bash
# A save that cannot create its file shows the error box ("Cannot create file ...") and leaves the
# old file as it was; the text stays in the window and can still be saved elsewhere. A file whose
# mode forbids writing is refused after the replace question, root included; a writable file in a
# folder that takes no new file is still saved, in place.
source "$(dirname "$0")/../driver.sh"
e2e_begin
start_program
mkdir "$E2E_WORK/scripts"
old_file=$E2E_WORK/scripts/old.mrc

press ctrl+n
wait_window 'Orl version 1\.0 - \[script1\.mrc\]'
type_text 'alias hello { echo -a Привет }'
save_as "$old_file"
old_bytes='alias hello { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }'
new_bytes="$old_bytes"'\r\nalias bye { echo -a \xcf\xee\xea\xe0 }'
expect_bytes "$old_file" "$old_bytes"
cp "$old_file" "$E2E_WORK/old.mrc.before"
press Return
type_text 'alias bye { echo -a Пока }'

# A path under the old file, as if it were a folder: no one can create it, root included.
save_as "$old_file/new.mrc"
dismiss_error_box
cmp "$old_file" "$E2E_WORK/old.mrc.before" || fail "the failed save changed the old file"

# The old file made read-only: the save asks whether to replace it, then refuses.
chmod 0444 "$old_file"
save_as "$old_file"
answer_replace_question Cyrillic_de
dismiss_error_box
cmp "$old_file" "$E2E_WORK/old.mrc.before" || fail "the save changed a read-only file"
[ "$(stat -c %a "$old_file")" = 444 ] || fail "the refused save changed the file's mode"
chmod 0644 "$old_file"

# The old file itself, once its folder cannot take a new file: written in place.
if lock_folder "$E2E_WORK/scripts"; then
    save_as "$old_file"
    answer_replace_question Cyrillic_de
    focus_window "$MAIN_WINDOW"
    expect_bytes "$old_file" "$new_bytes"
    [ "$(ls -A "$E2E_WORK/scripts")" = old.mrc ] || fail "the save left another file in the folder"
    unlock_folder "$E2E_WORK/scripts"
else
    echo "note: a folder cannot be made unwritable here; the save over the old file is left out"
fi

save_as "$E2E_WORK/kept.mrc"
expect_bytes "$E2E_WORK/kept.mrc" "$new_bytes"
