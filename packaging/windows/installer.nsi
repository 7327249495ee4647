; The Windows setup program, made by scripts/release-package.sh:
;   makensis -DVERSION=1.1.0 -DROOT=DIR -DOUTFILE=EXE
;            [-DFORMAT_VST2 -DSIZE_VST2=KB] [-DFORMAT_VST3 -DSIZE_VST3=KB] [-DFORMAT_CLAP -DSIZE_CLAP=KB]
; ROOT holds what the zip holds: VST2\korvane-brassel.dll, VST3\korvane-brassel.vst3\,
; CLAP\korvane-brassel.clap, README.txt, CHANGELOG.txt and LICENSE.txt.
;
; Command line: /S installs silently; /COMPONENTS=vst2,vst3,clap installs only
; those; /VST2DIR=FOLDER names the VST 2.x folder; /D=FOLDER (last) the
; program folder, which holds the uninstaller and the documents.
;
; All or nothing: every plug-in is first copied beside its place under a
; ".new" name; only when all are there are the old ones moved aside and the
; new ones moved in, and only then is the old removed. A failure on the way
; puts back what was there. The uninstall entry records where each plug-in
; went and the highest folder setup created for it; the uninstaller removes
; exactly those, and the folders only while they are empty.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The setup program's bytes must not depend on when its files were built.
SetDateSave off

!define PRODUCT "Korvane Brassel"
!define PUBLISHER "Korvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvaneBrassel"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

Var Vst2Dir   ; the folder picked for the DLL
Var Failure   ; what went wrong, empty while nothing has
Var Fresh     ; 1 when no earlier installation is recorded
Var Size      ; KB, for the list of installed programs

; Each thing installed: its path, its state (0 not installed this time, 1
; copied beside its place, 2 moved into place), the highest folder created
; for it, and what the last installation recorded for it.
!macro ItemVariables Item
  Var ${Item}Path
  Var ${Item}State
  Var ${Item}Top
  Var Old${Item}Path
  Var Old${Item}Top
!macroend
!insertmacro ItemVariables Program
!insertmacro ItemVariables Vst2
!insertmacro ItemVariables Vst3
!insertmacro ItemVariables Clap

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION}, an opto compressor, as the plug-in formats you choose next.$\r$\n$\r$\nClose your music programs before you go on, so that they load the new version.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${ROOT}\LICENSE.txt"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!ifdef FORMAT_VST2
  !define MUI_PAGE_HEADER_TEXT "VST 2.x Plug-in Folder"
  !define MUI_PAGE_HEADER_SUBTEXT "Choose the folder your host scans for VST 2.x plug-ins."
  !define MUI_DIRECTORYPAGE_TEXT_TOP "Setup puts korvane-brassel.dll into this folder. Hosts differ: choose the folder your host's plug-in settings name."
  !define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2.x plug-in folder"
  !define MUI_DIRECTORYPAGE_VARIABLE $Vst2Dir
  !define MUI_PAGE_CUSTOMFUNCTION_PRE SkipVst2Folder
  !insertmacro MUI_PAGE_DIRECTORY
!endif
; What went where stays on screen until Next.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} ${VERSION} is installed. Let your host scan for new plug-ins.$\r$\n$\r$\nTo remove it, use Apps and Features (Add or Remove Programs)."
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The components: the work is done by the hidden section after them, which
; installs all of them or none.
!ifdef FORMAT_VST2
Section "VST 2.x plug-in" SecVst2
  AddSize ${SIZE_VST2}
SectionEnd
!endif
!ifdef FORMAT_VST3
Section "VST 3 plug-in" SecVst3
  AddSize ${SIZE_VST3}
SectionEnd
!endif
!ifdef FORMAT_CLAP
Section "CLAP plug-in" SecClap
  AddSize ${SIZE_CLAP}
SectionEnd
!endif

!include "${__FILEDIR__}\installerSupport.nsh"

Section "-Install" SecInstall
  SetRegView 64
  SetOverwrite on
  StrCpy $Failure ""
  StrCpy $Size 0
  DetailPrint "Copying the new files beside their places"
  StrCpy $ProgramPath "$INSTDIR\uninstall.exe"
  !insertmacro Prepare Program
  ${If} $Failure == ""
    WriteUninstaller "$ProgramPath.new"
    ${If} ${Errors}
      StrCpy $Failure "Could not write $ProgramPath.new"
    ${Else}
      StrCpy $ProgramState 1
    ${EndIf}
  ${EndIf}
  ; The uninstall entry must be writable before anything is moved into place.
  ${If} $Failure == ""
    ClearErrors
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Installing" "${VERSION}"
    ${If} ${Errors}
      StrCpy $Failure "Could not write the uninstall entry HKLM\${UNINSTALL_KEY}"
    ${EndIf}
  ${EndIf}
!ifdef FORMAT_VST2
  ${If} ${SectionIsSelected} ${SecVst2}
    StrCpy $Vst2Path "$Vst2Dir\korvane-brassel.dll"
    !insertmacro StageFile Vst2 "${ROOT}\VST2\korvane-brassel.dll" ${SIZE_VST2}
  ${EndIf}
!endif
!ifdef FORMAT_VST3
  ${If} ${SectionIsSelected} ${SecVst3}
    StrCpy $Vst3Path "$COMMONFILES64\VST3\korvane-brassel.vst3"
    !insertmacro Prepare Vst3
    ${If} $Failure == ""
      ClearErrors
      CreateDirectory "$Vst3Path.new"
      SetOutPath "$Vst3Path.new"
      File /r "${ROOT}\VST3\korvane-brassel.vst3\*.*"
      !insertmacro Staged Vst3 ${SIZE_VST3}
    ${EndIf}
  ${EndIf}
!endif
!ifdef FORMAT_CLAP
  ${If} ${SectionIsSelected} ${SecClap}
    StrCpy $ClapPath "$COMMONFILES64\CLAP\korvane-brassel.clap"
    !insertmacro StageFile Clap "${ROOT}\CLAP\korvane-brassel.clap" ${SIZE_CLAP}
  ${EndIf}
!endif
  SetOutPath "$TEMP"

  ${If} $Failure == ""
    DetailPrint "Moving the new files into place"
    !insertmacro MoveIn Program
    !insertmacro MoveIn Vst2
    !insertmacro MoveIn Vst3
    !insertmacro MoveIn Clap
  ${EndIf}
  ${If} $Failure != ""
    Call TakeBack
    DetailPrint "$Failure"
    MessageBox MB_ICONSTOP "$Failure.$\r$\n$\r$\nNothing was changed: ${PRODUCT} is installed as it was before, or not at all." /SD IDOK
    SetErrorLevel 3
    Abort "Nothing was changed."
  ${EndIf}

  ; Installed. What is left is removing what it replaces and recording it.
  !insertmacro Settle Program
  !insertmacro Settle Vst2
  !insertmacro Settle Vst3
  !insertmacro Settle Clap
  SetOutPath "$INSTDIR"
  File "${ROOT}\README.txt"
  File "${ROOT}\CHANGELOG.txt"
  File "${ROOT}\LICENSE.txt"
  SetOutPath "$TEMP"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://korvane.com"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$ProgramPath,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$ProgramPath"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramPath" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  IntOp $Size $Size + 200
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $Size
  !insertmacro Record Program
  !insertmacro Record Vst2
  !insertmacro Record Vst3
  !insertmacro Record Clap
  DeleteRegValue HKLM "${UNINSTALL_KEY}" "Installing"
SectionEnd

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  Call NeedAdministrator
  ; This section holds every format's files, but only those chosen are
  ; installed: the space needed is the components' sizes and about this much.
  SectionSetSize ${SecInstall} 200
  ; Nothing chosen yet: a format this setup lacks keeps an empty path.
  StrCpy $Vst2Path ""
  StrCpy $Vst3Path ""
  StrCpy $ClapPath ""
  !insertmacro ReadRecord Program
  !insertmacro ReadRecord Vst2
  !insertmacro ReadRecord Vst3
  !insertmacro ReadRecord Clap
  StrCpy $Fresh 1
  ${If} $OldProgramPath != ""
    StrCpy $Fresh 0
  ${EndIf}
  ; The VST 2.x folder: where the last installation put the DLL, else the
  ; folder the system names for VST 2.x plug-ins, else a common one.
  ${If} $OldVst2Path != ""
    ${GetParent} $OldVst2Path $Vst2Dir
  ${Else}
    ReadRegStr $Vst2Dir HKLM "Software\VST" "VSTPluginsPath"
    ${If} $Vst2Dir == ""
      StrCpy $Vst2Dir "$PROGRAMFILES64\VSTPlugins"
    ${EndIf}
  ${EndIf}
  Call ReadCommandLine
FunctionEnd

; A cancelled or aborted run leaves nothing of its own behind.
Function .onInstFailed
  Call TakeBack
FunctionEnd

!ifdef FORMAT_VST2
Function SkipVst2Folder
  ${IfNot} ${SectionIsSelected} ${SecVst2}
    Abort
  ${EndIf}
FunctionEnd
!endif

Function un.onInit
  SetRegView 64
  Call un.NeedAdministrator
FunctionEnd

Section "Uninstall"
  SetRegView 64
  !insertmacro ReadRecord Vst2
  !insertmacro ReadRecord Vst3
  !insertmacro ReadRecord Clap
  !insertmacro ReadRecord Program
  !insertmacro Uninstall Vst2
  !insertmacro Uninstall Vst3
  !insertmacro Uninstall Clap
  !insertmacro Uninstall Program
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
