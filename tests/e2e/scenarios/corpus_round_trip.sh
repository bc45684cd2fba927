#!/usr/bin/env bash
# Each script of the corpus of real mIRC files, opened with Ctrl+O and saved with Ctrl+S under a new
# name, comes back with the same bytes, except that LF-only and CR-only line breaks become CR LF.
source "$(dirname "$0")/../driver.sh"
e2e_begin
[ -d "$ORL_CORPUS_DIR" ] || skip "no corpus at $ORL_CORPUS_DIR"
corpus=$(cd "$ORL_CORPUS_DIR" && pwd -P)
# The corpus's README describes the scripts; it is not one of them.
scripts=()
for file in "$corpus"/*; do
    [ -f "$file" ] && [ "$(basename "$file")" != README.md ] && scripts+=("$file")
done
[ ${#scripts[@]} -gt 0 ] || skip "the corpus at $corpus holds no scripts"

start_program
for file in "${scripts[@]}"; do
    name=$(basename "$file")
    open_file "$file"
    # The opened file's window is captioned with its path.
    wait_window "Orl version 1\.0 - \[$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$file")\]"
    save_as "$E2E_WORK/$name"
    perl -0777 -pe 's/\r\n|\r|\n/\r\n/g' "$file" >"$E2E_WORK/$name.expected"
    expect_file "$E2E_WORK/$name" "$E2E_WORK/$name.expected"
    echo "round trip of $name: ok"
done
