; Orl's installer for 64-bit Windows, made with NSIS by the Windows build's windows_packages target.
; It installs for all users into Program Files (with administrator rights) or for the current user
; only, adds a Start-menu entry, makes .mrc files open in Orl, and writes an uninstaller that takes
; away exactly what was installed. In Russian.
;
; Defines given by the build: VERSION, VERSION_QUAD (four numbers), STAGE (the installed folder to
; pack), FILES and REMOVALS (its files as File and Delete lines), OUTFILE, ICON, LICENSE.

; A 64-bit installer for a 64-bit program: it runs where Orl runs, Wine's 64-bit loader included.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP_NAME "Orl"
!define PUBLISHER "Orl developers"
!define PROG_ID "Orl.Script"
!define APP_KEY "Software\Orl"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orl"

Name "${APP_NAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP_NAME} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Orl"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\orl.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка ${APP_NAME} — редактора скриптов mIRC"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "GNU GPL 3.0 или более поздняя версия"

LangString FILE_TYPE_NAME ${LANG_RUSSIAN} "Скрипт mIRC"
LangString NOT_64_BIT ${LANG_RUSSIAN} "Orl работает только в 64-разрядной Windows."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "$(NOT_64_BIT)" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Orl" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The Start menu's one entry.
  CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\orl.exe" "" "$INSTDIR\orl.exe" 0

  ; Where it is, for an update and for the uninstaller.
  WriteRegStr SHCTX "${APP_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${APP_KEY}" "InstallMode" "$MultiUser.InstallMode"

  ; "Programs and Features".
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orl.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; The script file type: Orl's own type, offered for .mrc files, and their default where no other
  ; program has claimed them.
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}" "" "$(FILE_TYPE_NAME)"
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\DefaultIcon" "" "$INSTDIR\orl.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\orl.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.mrc\OpenWithProgids" "${PROG_ID}" ""
  ReadRegStr $0 SHCTX "Software\Classes\.mrc" ""
  ${If} $0 == ""
    WriteRegStr SHCTX "Software\Classes\.mrc" "" "${PROG_ID}"
  ${EndIf}
  ; "Open with" lists Orl for its three kinds of files.
  WriteRegStr SHCTX "Software\Classes\Applications\orl.exe" "FriendlyAppName" "${APP_NAME}"
  WriteRegStr SHCTX "Software\Classes\Applications\orl.exe\shell\open\command" "" '"$INSTDIR\orl.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\Applications\orl.exe\SupportedTypes" ".mrc" ""
  WriteRegStr SHCTX "Software\Classes\Applications\orl.exe\SupportedTypes" ".ini" ""
  WriteRegStr SHCTX "Software\Classes\Applications\orl.exe\SupportedTypes" ".txt" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
SectionEnd

Section "Uninstall"
  !include "${REMOVALS}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP_NAME}.lnk"

  ; .mrc goes back to no program only where it still names Orl.
  ReadRegStr $0 SHCTX "Software\Classes\.mrc" ""
  ${If} $0 == "${PROG_ID}"
    DeleteRegValue SHCTX "Software\Classes\.mrc" ""
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\.mrc\OpenWithProgids" "${PROG_ID}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.mrc\OpenWithProgids"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.mrc"
  DeleteRegKey SHCTX "Software\Classes\${PROG_ID}"
  DeleteRegKey SHCTX "Software\Classes\Applications\orl.exe"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${APP_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; The settings that Orl kept for the user who uninstalls it: its one file and its folder.
  SetShellVarContext current
  Delete "$APPDATA\orl\Orl.ini"
  RMDir "$APPDATA\orl"
SectionEnd
