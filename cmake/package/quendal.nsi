; Quendal's setup: a per-user install (no elevation) into
; %LOCALAPPDATA%\Programs\Quendal with a Start-menu shortcut, an "Apps &
; features" entry and an uninstaller. Built by cmake/QuendalPackage.cmake,
; which passes:
;   QD_VERSION      the project version ("0.1.0"): names, DisplayVersion
;   QD_FILEVERSION  the executables' four-part file version ("0.1.9473.0")
;   QD_STAGE        the folder holding Quendal.exe, sensorfeed.exe, README.txt, LICENSE.txt
;   QD_OUTFILE      the setup file to write
;   QD_ICON         the application icon (.ico) for setup and uninstaller;
;                   NSIS's own while the project has none
;
; A running Quendal is ended before its files are replaced, the way Windows'
; Restart Manager ends a program whose files an installer needs: a
; WM_QUERYENDSESSION and a WM_ENDSESSION with ENDSESSION_CLOSEAPP. Quendal saves
; its settings on those and exits; it is never killed.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!ifndef QD_ICON
  !define QD_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!endif

!define QD_NAME "Quendal"
!define QD_PUBLISHER "Quendal developers"
!define QD_WINDOW_CLASS "{6BA1E94A-3E85-4257-B2B7-887912881909}"
!define QD_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendal"
!define QD_SETTINGS_KEY "Software\Quendal"
!define QD_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define ENDSESSION_CLOSEAPP 0x00000001
!define SYNCHRONIZE 0x00100000

Name "${QD_NAME}"
OutFile "${QD_OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quendal"
InstallDirRegKey HKCU "${QD_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${QD_NAME} ${QD_VERSION}"

VIProductVersion "${QD_FILEVERSION}"
VIFileVersion "${QD_FILEVERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${QD_NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QD_VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${QD_FILEVERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${QD_NAME} ${QD_VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${QD_PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) ${QD_PUBLISHER}, MIT licence"

!define MUI_ICON "${QD_ICON}"
!define MUI_UNICON "${QD_ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup installs Quendal ${QD_VERSION} for your user account only; it needs no administrator rights.$\r$\n$\r$\nIf Quendal is running, it saves its settings and closes before its files are replaced.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quendal.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quendal"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var ClosedRunning

; Ends a running Quendal so its files can be replaced or removed: asks first
; (silently: does not ask), then sends the session-end pair with
; ENDSESSION_CLOSEAPP and waits for the process to go. Aborts, with exit
; code 3 in silent mode, when it does not end.
!macro QD_CLOSE_RUNNING UN
Function ${UN}CloseRunning
  StrCpy $ClosedRunning 0
  FindWindow $0 "${QD_WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  IfSilent retry
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Quendal is running. It will save its settings and close now." IDOK retry
  Abort
  retry:
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
  SendMessage $0 ${WM_QUERYENDSESSION} 0 ${ENDSESSION_CLOSEAPP} $3 /TIMEOUT=10000
  ${If} $3 <> 0
    SendMessage $0 ${WM_ENDSESSION} 1 ${ENDSESSION_CLOSEAPP} $3 /TIMEOUT=15000
  ${EndIf}
  ; The window goes before the process: wait for the process, whose image
  ; stays locked until it has ended.
  StrCpy $4 1
  ${If} $2 <> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i 20000) i .r4'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  FindWindow $0 "${QD_WINDOW_CLASS}"
  ${If} $0 = 0
  ${AndIf} $4 = 0
    StrCpy $ClosedRunning 1
    Return
  ${EndIf}
  ${If} ${Silent}
    SetErrorLevel 3
    Abort "Quendal did not close."
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quendal did not close. Exit it from its menu, then choose Retry." IDRETRY retry
  Abort
FunctionEnd
!macroend
!insertmacro QD_CLOSE_RUNNING ""
!insertmacro QD_CLOSE_RUNNING "un."

Section "Quendal" SecMain
  SectionIn RO
  Call CloseRunning
  SetOutPath "$INSTDIR"
  SetOverwrite on
  ; A file that cannot be written is skipped in silent mode: fail instead.
  ClearErrors
  File "${QD_STAGE}/Quendal.exe"
  File "${QD_STAGE}/sensorfeed.exe"
  File "${QD_STAGE}/README.txt"
  File "${QD_STAGE}/LICENSE.txt"
  ${If} ${Errors}
    SetErrorLevel 2
    Abort "Quendal's files could not be written to $INSTDIR."
  ${EndIf}
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\Quendal.lnk" "$INSTDIR\Quendal.exe" "" "$INSTDIR\Quendal.exe" 0

  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "DisplayName" "${QD_NAME}"
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "DisplayVersion" "${QD_VERSION}"
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "Publisher" "${QD_PUBLISHER}"
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quendal.exe,0"
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${QD_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${QD_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${QD_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${QD_UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; An update that closed a running Quendal starts it again; interactively
  ; the finish page offers that.
  ${If} ${Silent}
  ${AndIf} $ClosedRunning = 1
    Exec '"$INSTDIR\Quendal.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  Call un.CloseRunning
  Delete "$INSTDIR\Quendal.exe"
  Delete "$INSTDIR\sensorfeed.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Quendal.lnk"
  DeleteRegKey HKCU "${QD_UNINSTALL_KEY}"
  ; "Start with Windows" would otherwise point at a removed program.
  DeleteRegValue HKCU "${QD_RUN_KEY}" "Quendal"
  MessageBox MB_YESNO|MB_ICONQUESTION "Keep your Quendal settings (monitor windows, colours, custom readings) for a later install?" /SD IDYES IDYES keep
  DeleteRegKey HKCU "${QD_SETTINGS_KEY}"
  keep:
SectionEnd
