#!/usr/bin/env bash
# Orl as a Windows user gets it, under Wine on an Xvfb screen of 1366 x 768: the installer (silent,
# for all users) puts it into Program Files with a Start-menu entry and the .mrc file type. Started
# from the Start-menu entry, its main window fits the screen and its palettes are filled from the
# installed Dat/. A .mrc file with a Cyrillic name opens in it through the file type; typed Cyrillic
# text is saved as Windows-1251 bytes into that file; the designer and the colour picker open; the
# program ends and leaves its settings in %APPDATA%\orl\Orl.ini. The uninstaller then takes away the
# program, the entry, the file type and the settings.
#
# Environment (tests/windows/CMakeLists.txt): ORL_SETUP, the installer; E2E_OUTPUT, E2E_TIME_LIMIT,
# E2E_PROBE (optional, the Linux build's screenshot program).
E2E_WINE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$E2E_WINE_DIR/../e2e/driver.sh"

if [ -z "${E2E_WORK:-}" ]; then
    # Started by ctest: the same run as the Linux scenarios', on a screen of a common laptop's size.
    for tool in xvfb-run xauth xdotool xkbcomp setxkbmap timeout cmp /usr/lib/wine/wine64 /usr/lib/wine/wineserver; do
        command -v "$tool" >/dev/null || { echo "wine e2e: $tool is missing (scripts/windows --tests installs it)" >&2; exit 1; }
    done
    [ -f "${ORL_SETUP:-}" ] || { echo "wine e2e: no installer at ${ORL_SETUP:-} (cmake --build build-win --target windows_packages)" >&2; exit 1; }
    mkdir -p "$E2E_OUTPUT"
    work=$(mktemp -d "${TMPDIR:-/tmp}/orl-wine-e2e.XXXXXX")
    status=0
    E2E_WORK=$work E2E_SCENARIO=wine_installed timeout -k 5 "${E2E_TIME_LIMIT:-300}" \
        xvfb-run -a -s "-screen 0 1366x768x24 -noreset" bash "$0" || status=$?
    if [ $status -eq 0 ]; then
        rm -rf "$work"
    else
        rm -rf "$E2E_OUTPUT/wine_installed-files"
        mv "$work" "$E2E_OUTPUT/wine_installed-files"
        echo "wine e2e: the run's files are in $E2E_OUTPUT/wine_installed-files" >&2
    fi
    exit $status
fi

e2e_begin
setxkbmap us
export WINEPREFIX=$E2E_WORK/wine WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer; nothing written into the Unix desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# The program runs in processes of its own Wine prefix; the prefix's server ends them all at the end.
program_alive() { true; }
e2e_wine_end() {
    local status=$?
    trap - EXIT
    screenshot
    "$wineserver" -k >/dev/null 2>&1 || true
    exit "$status"
}
trap e2e_wine_end EXIT

drive_c=$WINEPREFIX/drive_c
step() { echo "--- $*"; }

# Wine reads the keyboard as a layout it knows, not keys remapped for the moment: Cyrillic text is
# typed on the Russian layout, the rest on the US one, as a Russian user switches between them.
# Wine reads each key with the layout in force when it takes the event, so the layout changes only
# once the keys before have had time to arrive.
type_russian() {
    sleep 1
    setxkbmap ru
    sleep 1
    type_text "$1"
    sleep 1
    setxkbmap us
    sleep 1
}

step "a fresh Wine prefix"
"$wine" wineboot --init >wineboot.log 2>&1 || fail "wineboot failed"
# With no window manager on the screen, Wine places, maximizes and frames the windows itself, as
# Windows does; left to a window manager that is not there, a maximized window would keep its
# restored size on the screen while the program lays it out maximized.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>wineboot.log 2>&1 || fail "cannot set up Wine"
"$wineserver" -w

step "silent install for all users"
cp "$ORL_SETUP" "$E2E_WORK/setup.exe"
"$wine" "$E2E_WORK/setup.exe" /S >install.log 2>&1 || fail "the installer failed"
"$wineserver" -w
installed=$drive_c/Program\ Files/Orl
for file in orl.exe uninstall.exe LICENSE.txt Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
    libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll \
    imageformats/qjpeg.dll translations/qtbase_ru.qm Dat/simbol.orl Dat/On.orl Dat/Identifers.orl \
    Dat/Comands.orl Dat/DialogBox.orl; do
    [ -f "$installed/$file" ] || fail "the installer left out $file"
done
entry=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Orl.lnk
[ -f "$entry" ] || fail "no Start-menu entry"
reg_value() { "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
[ "$(reg_value 'HKLM\Software\Classes\.mrc')" = Orl.Script ] || fail ".mrc is not Orl's file type"
[[ "$(reg_value 'HKLM\Software\Classes\Orl.Script\shell\open\command')" == *'Orl\orl.exe" "%1"' ]] ||
    fail "the file type does not open Orl"

step "started from the Start-menu entry"
"$wine" start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Orl.lnk' >orl.log 2>&1
wait_window '^\.:: Orl ::\. Orl version 1\.0$' 60
MAIN_WINDOW=$WINDOW
# A missing data file would show the error box ("Cannot open file ...") at once.
window_gone '^Orl$' 2 || fail "an error box opened at start-up"
window_geometry "$MAIN_WINDOW"
echo "main window: ${WW}x${WH} at $WX,$WY"
# Maximized, its frame of 4 pixels lies beyond the screen's edges; nothing else may.
((WX >= -4 && WX + WW <= 1366 + 4)) || fail "the main window runs past the screen's edges (${WX}+${WW})"
focus_window "$MAIN_WINDOW"
press alt+F4
wait_gone '^\.:: Orl ::\. Orl version 1\.0$' 20
"$wineserver" -w

step "a Cyrillic-named script opened through the file type"
# The Wine user's profile folder, named after the Unix user.
wine_user=$(cd "$drive_c/users" && ls | grep -vx Public | head -n 1)
documents=$drive_c/users/$wine_user/Documents
mkdir -p "$documents"
printf 'alias hi { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }' >"$documents/Привет мир.mrc"
"$wine" start "C:\\users\\$wine_user\\Documents\\Привет мир.mrc" >>orl.log 2>&1
wait_window 'Orl version 1\.0 - \[.*Привет мир\.mrc\]' 60
MAIN_WINDOW=$WINDOW
focus_window "$MAIN_WINDOW"
press ctrl+End Return
type_text 'on *:text:'
type_russian 'Здравствуй'
type_text '*:#: { msg $chan '
type_russian 'Ёжик №1'
type_text ' }'
# Places in the maximized main window, whose frame Wine draws 4 pixels beyond the screen's edges:
# the toolbar's "Сохранить" button, and the menu bar's "Создать" beside the editor's window icon.
SAVE_BUTTON_X=218 SAVE_BUTTON_Y=55
CREATE_MENU_X=213 MENU_Y=32
# "Сохранить" writes the window's own file.
click_at "$MAIN_WINDOW" "$SAVE_BUTTON_X" "$SAVE_BUTTON_Y"
expect_bytes "$documents/Привет мир.mrc" '%b\r\n%b' 'alias hi { echo -a \xcf\xf0\xe8\xe2\xe5\xf2 }' \
    'on *:text:\xc7\xe4\xf0\xe0\xe2\xf1\xf2\xe2\xf3\xe9*:#: { msg $chan \xa8\xe6\xe8\xea \xb91 }'

step "the designer and the colour picker"
# "Создать" in the menu bar, then its third item, "Создать диалоговое окно".
click_at "$MAIN_WINDOW" "$CREATE_MENU_X" "$MENU_Y"
press Down Down Down Return
wait_window '^\.:: Создание диалоговых окон ::\.$' 20
designer=$WINDOW
window_geometry "$designer"
((WX >= 0 && WX + WW <= 1366 && WY >= 0 && WY + WH <= 768)) || fail "the designer does not fit the screen"
focus_window "$MAIN_WINDOW"
press ctrl+k
wait_window '^Цвета$' 20
# Wine makes a window active when it is clicked, not when the X focus is set on it.
click_at "$WINDOW" 40 8
press Escape
wait_gone '^Цвета$'

step "quit, leaving the settings in %APPDATA%"
click_at "$MAIN_WINDOW" 600 8
press alt+F4
wait_gone 'Orl version 1\.0' 20
"$wineserver" -w
settings=$drive_c/users/$wine_user/AppData/Roaming/orl/Orl.ini
[ -f "$settings" ] || fail "no settings file at %APPDATA%\\orl\\Orl.ini"
grep -q 'Привет мир.mrc' "$settings" || fail "the settings file does not list the opened file"

step "silent uninstall"
"$wine" 'C:\Program Files\Orl\uninstall.exe' /S >uninstall.log 2>&1 || fail "the uninstaller failed"
"$wineserver" -w
[ ! -e "$installed" ] || fail "the uninstaller left $(cd "$installed" && find . | head -n 5 | tr '\n' ' ')"
[ ! -e "$entry" ] || fail "the uninstaller left the Start-menu entry"
[ ! -e "$settings" ] || fail "the uninstaller left the settings file"
[ -z "$(reg_value 'HKLM\Software\Classes\.mrc')" ] || fail "the uninstaller left .mrc opening in Orl"
! "$wine" reg query 'HKLM\Software\Classes\Orl.Script' >/dev/null 2>&1 || fail "the uninstaller left the file type"
! "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orl' >/dev/null 2>&1 ||
    fail "the uninstaller left its entry in Programs and Features"
cmp -s "$documents/Привет мир.mrc" expected.bytes || fail "the uninstaller touched the user's file"
echo "PASS: installed, used and uninstalled under Wine"
