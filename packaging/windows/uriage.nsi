; The Windows setup of 売上: a Japanese wizard that installs the program
; folder for all users, upgrades an older version in place, refuses a
; downgrade and refuses while the program runs; its uninstaller removes
; exactly what it installed.
;
; Built by scripts/windows-installer, which passes:
;   VERSION          the program's version (1.02)
;   VERSION_NUMBERS  the same as four numbers (1.2.0.0)
;   PROGRAM_DIR      the staged program folder
;   FILES_NSH        the generated File lines of that folder
;   REMOVE_NSH       the generated Delete/RMDir lines of the same files
;   SIZE_KB          the folder's size, for Settings -> Apps
;   ICON             the program icon (.ico)
;   INSTANCE_GUARD   the name of the program's single-instance mutex
;   MAIN_WINDOW      the window class of the program's main menu
;   OUTFILE          the setup to write
;   SIGN             (optional) a command that signs a file given as %1

Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS Win10
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include WordFunc.nsh

!define APPS_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\uriage"
!define SHORTCUT "売上.lnk"
!define UNINSTALLER "uninstall.exe"

; Exit codes of a refused or failed run (also in silent mode).
!define EXIT_RUNNING 3
!define EXIT_NEWER_INSTALLED 4
!define EXIT_OLD_REMOVAL_FAILED 5

Name "売上"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\uriage"
; An installed copy is upgraded where it is.
InstallDirRegKey HKLM "${APPS_KEY}" "InstallLocation"
BrandingText "売上 ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!ifdef SIGN
  !finalize '${SIGN}'
  !uninstfinalize '${SIGN}'
!endif

Var OldVersion
Var OldDir
Var OldCreatedFolder
Var CreatedFolder

; ---------------------------------------------------------------- pages
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "売上を起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "デスクトップにショートカットを作る"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeDesktopShortcut
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "売上"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "売上 ${VERSION} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "Zelmora"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "制作・著作　Zelmora　無断で複製することを禁じます"

; ---------------------------------------------------------------- the running program
; The program holds a named mutex while it runs and its main menu has the
; window class TForm1. Files in use cannot be replaced or removed, so both
; the setup and the uninstaller wait for the user to end it, or give up.
!macro REFUSE_WHILE_RUNNING un
Function ${un}RefuseWhileRunning
  check:
    ; SYNCHRONIZE access is enough to see that the mutex exists.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_GUARD}") p.r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${Else}
      FindWindow $0 "${MAIN_WINDOW}"
    ${EndIf}
    ${If} $0 P<> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "売上が起動しています。$\r$\n売上を終了してから「再試行」を押してください。" /SD IDCANCEL IDRETRY check
      SetErrorLevel ${EXIT_RUNNING}
      Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

; ---------------------------------------------------------------- install
Function .onInit
  SetRegView 64
  SetShellVarContext all
  Call RefuseWhileRunning
  ReadRegStr $OldVersion HKLM "${APPS_KEY}" "DisplayVersion"
  ReadRegStr $OldDir HKLM "${APPS_KEY}" "InstallLocation"
  ReadRegDWORD $OldCreatedFolder HKLM "${APPS_KEY}" "CreatedFolder"
  ${If} $OldVersion != ""
    ${VersionCompare} $OldVersion "${VERSION}" $0
    ${If} $0 == 1
      MessageBox MB_OK|MB_ICONSTOP "新しい版の売上 ($OldVersion) が導入されています。$\r$\nこの版 (${VERSION}) は導入できません。" /SD IDOK
      SetErrorLevel ${EXIT_NEWER_INSTALLED}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; An installed version (older, or this one again) goes first, through its own
; uninstaller and so its own file list: no file of it survives the upgrade.
Function RemoveInstalledVersion
  ${If} $OldVersion == ""
    Return
  ${EndIf}
  DetailPrint "売上 $OldVersion を削除しています: $OldDir"
  ${If} ${FileExists} "$OldDir\${UNINSTALLER}"
    ; _?= runs it in place and waits for it.
    ExecWait '"$OldDir\${UNINSTALLER}" /S _?=$OldDir' $0
    ${If} $0 != 0
      MessageBox MB_OK|MB_ICONSTOP "売上 $OldVersion を削除できませんでした。" /SD IDOK
      SetErrorLevel ${EXIT_OLD_REMOVAL_FAILED}
      Quit
    ${EndIf}
    Delete "$OldDir\${UNINSTALLER}"
  ${EndIf}
  ${If} $OldCreatedFolder == 1
    RMDir "$OldDir"
  ${EndIf}
FunctionEnd

Section "売上"
  SetRegView 64
  SetShellVarContext all
  Call RemoveInstalledVersion
  ; The uninstaller removes the install folder only when this setup made it.
  StrCpy $CreatedFolder 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $CreatedFolder 1
  ${EndIf}

  !include "${FILES_NSH}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The shortcut starts the program in its own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\uriage.exe" "" "$INSTDIR\uriage.exe" 0

  WriteRegStr HKLM "${APPS_KEY}" "DisplayName" "売上"
  WriteRegStr HKLM "${APPS_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APPS_KEY}" "Publisher" "Zelmora"
  WriteRegStr HKLM "${APPS_KEY}" "DisplayIcon" "$INSTDIR\uriage.exe,0"
  WriteRegStr HKLM "${APPS_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APPS_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${APPS_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${APPS_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${APPS_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APPS_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${APPS_KEY}" "CreatedFolder" $CreatedFolder
SectionEnd

; Started through Explorer, the program runs as the user, not elevated as
; this setup is.
Function StartProgram
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\uriage.exe"'
FunctionEnd

Function MakeDesktopShortcut
  SetOutPath "$INSTDIR"
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\uriage.exe" "" "$INSTDIR\uriage.exe" 0
  WriteRegDWORD HKLM "${APPS_KEY}" "DesktopShortcut" 1
FunctionEnd

; ---------------------------------------------------------------- uninstall
Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
  !include "${REMOVE_NSH}"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  ReadRegDWORD $0 HKLM "${APPS_KEY}" "DesktopShortcut"
  ${If} $0 == 1
    Delete "$DESKTOP\${SHORTCUT}"
  ${EndIf}
  ReadRegDWORD $1 HKLM "${APPS_KEY}" "CreatedFolder"
  DeleteRegKey HKLM "${APPS_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only a folder this setup made, and only when it is empty.
  ${If} $1 == 1
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
