#!/usr/bin/env bash
# The installed program: cmake --install into a temporary prefix puts the program, its data and
# its desktop files in place; --version answers without a display; started from another folder
# with a file argument, the program shows the file and its palettes are filled from the installed
# data, so a palette click appends its snippet to the file's text.
source "$(dirname "$0")/../driver.sh"
e2e_begin
prefix=$E2E_WORK/prefix
cmake --install "$ORL_BUILD_DIR" --prefix "$prefix" >"$E2E_WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$E2E_WORK/install.log")"
for file in bin/orl share/applications/io.github.orl.Orl.desktop share/metainfo/io.github.orl.Orl.metainfo.xml \
    share/icons/hicolor/scalable/apps/io.github.orl.Orl.svg share/mime/packages/io.github.orl.Orl.xml \
    share/doc/orl/LICENSE share/orl/Dat/simbol.orl share/orl/Dat/On.orl share/orl/Dat/Identifers.orl \
    share/orl/Dat/Comands.orl share/orl/Dat/DialogBox.orl; do
    [ -f "$prefix/$file" ] || fail "the install left out $file"
done
[ -x "$prefix/bin/orl" ] || fail "the installed program cannot be run"
version=$(env -u DISPLAY "$prefix/bin/orl" --version) || fail "orl --version failed without a display"
[ "$version" = "Orl 1.0" ] || fail "orl --version printed \"$version\""

# A folder of the user's with a script in it, and no Dat/ anywhere near.
mkdir -p "$E2E_WORK/documents"
printf 'alias hi { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }' >"$E2E_WORK/documents/hello.mrc"
(cd "$E2E_WORK/documents" && exec "$prefix/bin/orl" hello.mrc) >"$E2E_WORK/orl.log" 2>&1 &
ORL_PID=$!
wait_window "Orl version 1\.0 - \[$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$E2E_WORK/documents/hello.mrc")\]"
MAIN_WINDOW=$WINDOW
focus_window "$MAIN_WINDOW"
# A missing data file would show the error box ("Cannot open file ...") at once.
if ! window_gone '^Orl$' 2; then
    fail "an error box opened at start-up"
fi
# Row 0 of "ON Панель", along the left edge, as in the palettes scenario.
click_at "$MAIN_WINDOW" 40 71
save_as "$E2E_WORK/documents/hello-copy.mrc"
expect_bytes "$E2E_WORK/documents/hello-copy.mrc" '%b\r\n%b' 'alias hi { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }' 'on *:action:'
