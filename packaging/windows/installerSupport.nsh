; The steps installer.nsi takes for each thing it installs (Item: Program,
; the uninstaller in the program folder; Vst2, Vst3, Clap, the plug-ins),
; and the functions under them.

; Where the last installation put Item and the highest folder it created for it.
!macro ReadRecord Item
  ReadRegStr $Old${Item}Path HKLM "${UNINSTALL_KEY}" "${Item}Path"
  ReadRegStr $Old${Item}Top HKLM "${UNINSTALL_KEY}" "${Item}Top"
!macroend

!macro Record Item
  ${If} $${Item}State == 2
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${Item}Path" $${Item}Path
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${Item}Top" $${Item}Top
  ${Else}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "${Item}Path"
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "${Item}Top"
  ${EndIf}
!macroend

; Makes Item's folder, noting the highest one created, and clears what a run
; that was cut off may have left beside Item.
!macro Prepare Item
  ${If} $Failure == ""
    ${GetParent} $${Item}Path $0
    Call MissingTop
    StrCpy $${Item}Top $1
    Delete "$${Item}Path.new"
    RMDir /r "$${Item}Path.new"
    Delete "$${Item}Path.old"
    RMDir /r "$${Item}Path.old"
    ClearErrors
    CreateDirectory $0
    ${If} ${Errors}
      StrCpy $Failure "Could not create the folder $0"
    ${EndIf}
  ${EndIf}
!macroend

!macro Staged Item Size
  ${If} ${Errors}
    StrCpy $Failure "Could not write $${Item}Path.new"
  ${Else}
    StrCpy $${Item}State 1
    IntOp $Size $Size + ${Size}
  ${EndIf}
!macroend

; Copies one file to Item's path + ".new". A file that cannot be written
; stops the run quietly through the probe, not through File's question.
!macro StageFile Item Source Size
  !insertmacro Prepare ${Item}
  ${If} $Failure == ""
    ClearErrors
    FileOpen $2 "$${Item}Path.new" w
    ${If} ${Errors}
      StrCpy $Failure "Could not write $${Item}Path.new"
    ${Else}
      FileClose $2
      ${GetParent} $${Item}Path $0
      ${GetFileName} $${Item}Path $1
      SetOutPath $0
      File "/oname=$1.new" "${Source}"
      !insertmacro Staged ${Item} ${Size}
    ${EndIf}
  ${EndIf}
!macroend

; The old Item aside (".old"), the new one in; on failure the old one back.
!macro MoveIn Item
  ${If} $Failure == ""
  ${AndIf} $${Item}State == 1
    StrCpy $0 ok
    ClearErrors
    ${If} ${FileExists} "$${Item}Path"
      Rename "$${Item}Path" "$${Item}Path.old"
      ${If} ${Errors}
        StrCpy $0 failed
      ${EndIf}
    ${EndIf}
    ${If} $0 == ok
      Rename "$${Item}Path.new" "$${Item}Path"
      ${If} ${Errors}
        StrCpy $0 failed
        Rename "$${Item}Path.old" "$${Item}Path"
      ${EndIf}
    ${EndIf}
    ${If} $0 == ok
      StrCpy $${Item}State 2
    ${Else}
      StrCpy $Failure "Could not replace $${Item}Path; is a program using it?"
    ${EndIf}
  ${EndIf}
!macroend

; After success: the replaced Item goes, and so does the last installation's
; when it was elsewhere or is not wanted now. A file a running host holds is
; removed at the next restart.
!macro Settle Item
  ${If} $${Item}State == 2
    Delete /REBOOTOK "$${Item}Path.old"
    RMDir /r /REBOOTOK "$${Item}Path.old"
    ${If} $Old${Item}Path == $${Item}Path
      ${If} $${Item}Top == ""
        StrCpy $${Item}Top $Old${Item}Top
      ${EndIf}
    ${ElseIf} $Old${Item}Path != ""
      !insertmacro RemoveRecorded "" ${Item}
    ${EndIf}
  ${ElseIf} $Old${Item}Path != ""
    !insertmacro RemoveRecorded "" ${Item}
  ${EndIf}
!macroend

; Removes what the last installation recorded for Item.
!macro RemoveRecorded un Item
  !if "${Item}" == "Program"
    ${GetParent} $Old${Item}Path $0
    !insertmacro RemoveDocuments $0
  !endif
  StrCpy $0 $Old${Item}Path
  StrCpy $1 $Old${Item}Top
  Call ${un}RemoveItem
!macroend
!macro RemoveDocuments Folder
  Delete "${Folder}\README.txt"
  Delete "${Folder}\CHANGELOG.txt"
  Delete "${Folder}\LICENSE.txt"
!macroend

!macro Uninstall Item
  ${If} $Old${Item}Path != ""
    !insertmacro RemoveRecorded un. ${Item}
  ${EndIf}
!macroend

; Puts back what this run changed for Item and removes what it made.
!macro TakeBackItem Item
  ${If} $${Item}Path != ""
    ${If} $${Item}State == 2
      Delete "$${Item}Path"
      RMDir /r "$${Item}Path"
      Rename "$${Item}Path.old" "$${Item}Path"
    ${EndIf}
    Delete "$${Item}Path.new"
    RMDir /r "$${Item}Path.new"
    ${GetParent} $${Item}Path $0
    StrCpy $1 $${Item}Top
    Call RemoveEmptyUpTo
    StrCpy $${Item}State 0
  ${EndIf}
!macroend

Function TakeBack
  !insertmacro TakeBackItem Clap
  !insertmacro TakeBackItem Vst3
  !insertmacro TakeBackItem Vst2
  !insertmacro TakeBackItem Program
  ${If} $Fresh == 1
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${Else}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "Installing"
  ${EndIf}
FunctionEnd

; $1: the highest folder missing on the way to $0 ($0 itself included), or
; "" when $0 exists.
Function MissingTop
  Push $2
  StrCpy $1 ""
  StrCpy $2 $0
  ${DoWhile} $2 != ""
    ${If} ${FileExists} "$2\*.*"
      ${Break}
    ${EndIf}
    StrCpy $1 $2
    ${GetParent} $2 $2
  ${Loop}
  Pop $2
FunctionEnd

!macro SharedFunctions un
; Removes the folder $0 and those above it up to $1, while they are empty;
; nothing when $1 is empty or not above $0.
Function ${un}RemoveEmptyUpTo
  ${If} $1 != ""
    StrLen $2 $1
    ${Do}
      StrCpy $3 $0 $2
      ${If} $3 != $1
        ${Break}
      ${EndIf}
      ClearErrors
      RMDir $0
      ${If} ${Errors}
      ${OrIf} $0 == $1
        ${Break}
      ${EndIf}
      ${GetParent} $0 $0
    ${Loop}
  ${EndIf}
FunctionEnd

; Removes the installed thing $0 (only under a name setup gives) and the
; folders created for it up to $1.
Function ${un}RemoveItem
  ${GetFileName} $0 $2
  ${If} $2 == "korvane-brassel.vst3"
    RMDir /r /REBOOTOK $0
  ${ElseIf} $2 == "korvane-brassel.dll"
  ${OrIf} $2 == "korvane-brassel.clap"
  ${OrIf} $2 == "uninstall.exe"
    Delete /REBOOTOK $0
  ${Else}
    Return
  ${EndIf}
  DetailPrint "Removed $0"
  ${GetParent} $0 $0
  Call ${un}RemoveEmptyUpTo
FunctionEnd

; Setup installs for every user of the computer.
Function ${un}NeedAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "${PRODUCT} is installed for every user of this computer, which needs administrator rights. Run it again as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions un.

; /VST2DIR=FOLDER and /COMPONENTS=vst2,vst3,clap.
Function ReadCommandLine
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/VST2DIR=" $R1
  ${IfNot} ${Errors}
    StrCpy $Vst2Dir $R1
  ${EndIf}
  ${Do}
    StrCpy $R1 $Vst2Dir 1 -1
    ${If} $R1 != "\"
      ${Break}
    ${EndIf}
    StrCpy $Vst2Dir $Vst2Dir -1
  ${Loop}
  ClearErrors
  ${GetOptions} $R0 "/COMPONENTS=" $R1
  ${If} ${Errors}
    Return
  ${EndIf}
!ifdef FORMAT_VST2
  !insertmacro UnselectSection ${SecVst2}
!endif
!ifdef FORMAT_VST3
  !insertmacro UnselectSection ${SecVst3}
!endif
!ifdef FORMAT_CLAP
  !insertmacro UnselectSection ${SecClap}
!endif
  StrCpy $R1 "$R1,"
  StrCpy $R2 ""
  ${Do}
    StrCpy $R3 $R1 1
    StrCpy $R1 $R1 "" 1
    ${If} $R3 != ","
      StrCpy $R2 "$R2$R3"
      ${Continue}
    ${EndIf}
    ${If} $R2 == ""
!ifdef FORMAT_VST2
    ${ElseIf} $R2 == "vst2"
      !insertmacro SelectSection ${SecVst2}
!endif
!ifdef FORMAT_VST3
    ${ElseIf} $R2 == "vst3"
      !insertmacro SelectSection ${SecVst3}
!endif
!ifdef FORMAT_CLAP
    ${ElseIf} $R2 == "clap"
      !insertmacro SelectSection ${SecClap}
!endif
    ${Else}
      MessageBox MB_ICONSTOP "This setup has no component $\"$R2$\"." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $R2 ""
  ${LoopWhile} $R1 != ""
FunctionEnd
