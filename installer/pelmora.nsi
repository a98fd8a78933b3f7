; The Windows installer, made on Linux with NSIS from the install layout (cmake --build ... --target
; installer). Installs for all users into Program Files, adds a Start menu entry and the ".psh"
; history files' association, and registers an uninstaller that removes exactly what was installed;
; settings, journals and recovered histories in the users' application-data folders stay.
; Silent: "setup.exe /S" (optionally /D=folder, last), "Uninstall.exe /S".
; Defined by the build: VERSION, STAGE (the install layout), ICON, OUTFILE, FILES (the list below).
; A 64-bit installer for the 64-bit program (and for Wine without its 32-bit part).
Target amd64-unicode
!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Pelmora"
!define PUBLISHER "Orvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define HISTORY_CLASS "Pelmora.History"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pelmora.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\pelmora.exe"

  ; Double-clicking a history file opens it in the history viewer.
  WriteRegStr HKLM "Software\Classes\.psh" "" "${HISTORY_CLASS}"
  WriteRegStr HKLM "Software\Classes\${HISTORY_CLASS}" "" "Pelmora history"
  WriteRegStr HKLM "Software\Classes\${HISTORY_CLASS}\DefaultIcon" "" "$INSTDIR\pelmora.exe,0"
  WriteRegStr HKLM "Software\Classes\${HISTORY_CLASS}\shell\open\command" "" '"$INSTDIR\pelmora.exe" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pelmora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Only the files this installer put there: anything a user saved into the folder stays.
  !include "${FILES}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ReadRegStr $0 HKLM "Software\Classes\.psh" ""
  ${If} $0 == "${HISTORY_CLASS}"
    DeleteRegKey HKLM "Software\Classes\.psh"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\${HISTORY_CLASS}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
