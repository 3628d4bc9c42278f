; The per-user installer: no elevation, %LOCALAPPDATA%\Programs\Quillpane,
; a Start-menu shortcut, an entry in the installed apps, an uninstaller.
; makensis -DVERSION=x.y.z -DSOURCE=<folder with the files> -DICON=<app.ico> -DOUTFILE=<setup.exe>
; A 64-bit setup for a 64-bit program: it also runs where 32-bit code cannot.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!macro Require NAME
  !ifndef ${NAME}
    !error "-D${NAME}=... is required"
  !endif
!macroend
!insertmacro Require VERSION
!insertmacro Require SOURCE
!insertmacro Require ICON
!insertmacro Require OUTFILE

!define APP "Quillpane"
!define PUBLISHER "ferrix"
!define EXE "Quillpane.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillpane"
; The running program's window, and its Exit command (saves a pending edit).
!define MAIN_CLASS "Quillpn.Main"
!define IDM_EXIT 1003

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Var WasRunning

; Asks a running copy to exit through its own Exit command and waits up to
; ten seconds for its window to go; $WasRunning tells whether one ran.
!macro CloseRunningCopy
  StrCpy $WasRunning 0
  FindWindow $0 "${MAIN_CLASS}"
  ${If} $0 <> 0
    StrCpy $WasRunning 1
    SendMessage $0 ${WM_COMMAND} ${IDM_EXIT} 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      Sleep 200
      FindWindow $0 "${MAIN_CLASS}"
      IntOp $1 $1 + 1
      ${IfThen} $1 >= 50 ${|} ${Break} ${|}
    ${LoopWhile} $0 <> 0
  ${EndIf}
!macroend

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "Install"
  !insertmacro CloseRunningCopy
  SetOutPath "$INSTDIR"
  File "${SOURCE}\${EXE}"
  File "${SOURCE}\README.md"
  File "${SOURCE}\README.en.md"
  File "${SOURCE}\PHONE.md"
  File "${SOURCE}\PHONE.en.md"
  File "${SOURCE}\CHANGELOG.md"
  File "${SOURCE}\CHANGELOG.en.md"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; The copy that was running before comes back as the new version.
  ${If} $WasRunning = 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Uninstall"
  !insertmacro CloseRunningCopy
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\README.en.md"
  Delete "$INSTDIR\PHONE.md"
  Delete "$INSTDIR\PHONE.en.md"
  Delete "$INSTDIR\CHANGELOG.md"
  Delete "$INSTDIR\CHANGELOG.en.md"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  ; The program's own "Start with Windows" shortcut.
  Delete "$SMSTARTUP\Quillpn.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  MessageBox MB_OK|MB_ICONINFORMATION "$(KeptData)" /SD IDOK
SectionEnd

LangString KeptData ${LANG_ENGLISH} "Quillpane was removed. Your memo, settings and backups were kept in $APPDATA\ferrix\Quillpn; delete that folder yourself if you no longer need them."
LangString KeptData ${LANG_JAPANESE} "Quillpane を削除しました。メモ、設定、バックアップは $APPDATA\ferrix\Quillpn に残してあります。不要な場合はこのフォルダーを手動で削除してください。"
