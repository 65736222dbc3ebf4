; The Windows setup of the Keldra VHF QRP Test logger, in Italian. scripts/windows-package builds it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DEXE=keldra.exe -DFILES=folder
;            -DGRAPHICS=packaging/windows -DOUTFILE=keldra-1.0.0-setup.exe keldra.nsi
; GRAPHICS holds the icon and the welcome page's picture (packaging/windows/make-icon).
; FILES holds LICENSE.txt (CR LF) and the marker `installato`, which sends an installed copy's
; contest to Documents\Keldra VHF QRP Test (system/ContestFolderWindows.cpp). A newer setup run
; over an older copy finds it through the uninstall entry and replaces it in place; neither the
; setup nor the uninstaller ever touches the contest folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define NAME "Keldra VHF QRP Test"
!define PUBLISHER "Gli sviluppatori del registro Keldra"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KeldraVHFQRPTest"
!define UNINSTALLER "Disinstalla.exe"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

!define MUI_ICON "${GRAPHICS}\keldra.ico"
!define MUI_UNICON "${GRAPHICS}\keldra.ico"
; The logo on the first and the last page (packaging/windows/make-icon draws it).
!define MUI_WELCOMEFINISHPAGE_BITMAP "${GRAPHICS}\welcome.bmp"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Questo programma installa il registro del ${NAME}, versione ${VERSION}.$\r$\n$\r$\nSe una versione precedente è già installata, viene sostituita. I file del contest restano in Documenti\${NAME} e non vengono toccati.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$INSTDIR\keldra.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Avvia ${NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileDescription" "Installazione del registro del ${NAME}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. Software libero, licenza GNU GPL versione 3 o successiva."

; Windows does not let a running program's file be written, so a copy left open would make the
; setup stop half way or the uninstaller leave it behind: ask for it to be closed first.
!macro WaitForProgramClosed
  ${If} ${FileExists} "$INSTDIR\keldra.exe"
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\keldra.exe" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} è aperto. Chiuderlo, poi premere Riprova." /SD IDCANCEL IDRETRY retry
      Abort
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

; The 64-bit program, its 64-bit registry view; shortcuts for every user of the PC.
Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Programma" SecProgram
  SectionIn RO
  !insertmacro WaitForProgramClosed
  SetOutPath "$INSTDIR"
  File "/oname=keldra.exe" "${EXE}"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\installato"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\keldra.exe" "" "$INSTDIR\keldra.exe" 0 \
    SW_SHOWNORMAL "" "Registro del ${NAME}"
  ; An upgrade without the desktop icon takes away the one an older setup made.
  Delete "$DESKTOP\${NAME}.lnk"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\keldra.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Icona sul desktop" SecDesktop
  CreateShortCut "$DESKTOP\${NAME}.lnk" "$INSTDIR\keldra.exe" "" "$INSTDIR\keldra.exe" 0 \
    SW_SHOWNORMAL "" "Registro del ${NAME}"
SectionEnd

LangString DESC_SecProgram ${LANG_ITALIAN} "Il programma, la licenza e la voce nel menu Start."
LangString DESC_SecDesktop ${LANG_ITALIAN} "Un collegamento al programma sul desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_SecProgram)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} $(DESC_SecDesktop)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Only the files the setup put there: whatever else the operator keeps in the folder stays, and
; so does the folder then; the contest in Documents is never named here.
Section "Uninstall"
  !insertmacro WaitForProgramClosed
  Delete "$INSTDIR\keldra.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\installato"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$DESKTOP\${NAME}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
