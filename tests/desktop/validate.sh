#!/usr/bin/env bash
# Checks the desktop entry and the AppStream metainfo with the validators a distribution uses:
# desktop-file-validate must report no error or warning (hints are advice), appstreamcli no issue
# above the pedantic level.
#   validate.sh desktop FILE | validate.sh appstream FILE
set -uo pipefail
kind=$1 file=$2
case $kind in
desktop)
    command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing (scripts/test installs it)"; exit 1; }
    out=$(desktop-file-validate "$file") || { echo "$out"; exit 1; }
    echo "$out"
    ! grep -qE ': (error|warning):' <<<"$out"
    ;;
appstream)
    command -v appstreamcli >/dev/null || { echo "appstreamcli is missing (scripts/test installs it)"; exit 1; }
    appstreamcli validate --no-net "$file"
    ;;
*)
    echo "usage: validate.sh desktop|appstream FILE"
    exit 2
    ;;
esac
