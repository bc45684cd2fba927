#!/usr/bin/env bash
# Runs one cross-built Qt Test program under Wine's 64-bit loader: ctest's emulator in the Windows
# build. The Qt and compiler run-time DLLs are found through WINEPATH and the plug-ins through
# QT_PLUGIN_PATH, so nothing is copied beside the tests; the offscreen platform takes its fonts
# from a folder of TrueType files. The report goes through a file, since Wine may lose console
# output written into a pipe.
#
# Environment (tests/windows/CMakeLists.txt sets it for each test): ORL_WINE_PREFIX, the Wine
# prefix, made on first use; ORL_WINE_DLL_DIRS, the folders holding the DLLs, separated by colons;
# ORL_QT_PLUGINS, the toolchain's plug-in folder; ORL_WINE_FONTS, the fonts folder.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: wine_run.sh PROGRAM.exe [ARGS...]" >&2; exit 2; }
program=$1
shift

# Wine shows the Unix file system as drive Z:.
windows_path() {
    local path
    path=$(realpath -m "$1")
    printf 'Z:%s' "${path//\//\\}"
}

export WINEPREFIX=${ORL_WINE_PREFIX:?ORL_WINE_PREFIX is not set}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer, no menu entries written into the Unix desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=${ORL_WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "wine_run: $wine is missing (scripts/windows installs wine64)" >&2; exit 1; }

dll_path=
IFS=: read -ra dll_dirs <<<"${ORL_WINE_DLL_DIRS:-}"
for dir in "${dll_dirs[@]}"; do
    dll_path+="$(windows_path "$dir");"
done
export WINEPATH=$dll_path
[ -n "${ORL_QT_PLUGINS:-}" ] && export QT_PLUGIN_PATH=$(windows_path "$ORL_QT_PLUGINS")
[ -n "${ORL_WINE_FONTS:-}" ] && export QT_QPA_FONTDIR=$(windows_path "$ORL_WINE_FONTS")
# Offscreen tests touch no display, whatever display the shell that runs them has.
[ "${QT_QPA_PLATFORM:-}" = offscreen ] && unset DISPLAY
# Wine keeps the host's QT_ variables from Windows programs; a WINE prefix hands one over.
while IFS='=' read -r name _; do
    [[ $name == QT_* ]] && export "WINE$name=${!name}"
done < <(env)

# Tests run side by side: the first one to need the prefix makes it while the others wait.
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.orl-ready" ]; then
        "$wine" wineboot --init >/dev/null 2>&1 && touch "$WINEPREFIX/.orl-ready"
    fi
) 9>"$WINEPREFIX.lock"

report=$(mktemp "${TMPDIR:-/tmp}/orl-wine-report.XXXXXX")
"$wine" "$program" "$@" -o "$(windows_path "$report"),txt"
status=$?
cat "$report"
rm -f "$report"
exit $status
