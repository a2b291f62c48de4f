; RingSetup.exe: installs Ringhold, Ringtune, Ringtally and our outside libraries into the POS
; program directory for the current user, and the uninstaller that takes them out again.
; Built by installer/CMakeLists.txt, which passes RING_TARGET, RING_BIN, RING_OUT, RING_VERSION,
; RING_VERSION_MS, RING_VERSION_LS, RING_COMPANY and RING_PRODUCT.

Unicode true
Target ${RING_TARGET}

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Halden_Ringhold"
; One value per file this installer wrote; the uninstaller removes those and no others.
!define FILES_KEY "${UNINST_KEY}\Files"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Halden_Ringhold"
!define SYNC_RUN_VALUE "Ringsync"
; The background sync's hidden window, captioned with its program directory.
!define SYNC_WINDOW_CLASS "RINGSYNCW"
!define UNINSTALLER "RingUninstall.exe"
!define MENU_DIR "$SMPROGRAMS\${RING_PRODUCT}"

Name "${RING_PRODUCT}"
OutFile "${RING_OUT}"
; The autostart value belongs to the user who runs the server, so no elevation.
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "${RING_PRODUCT} ${RING_VERSION}"
; Only a suggestion: the POS programs may live anywhere, and the user must point at them.
InstallDir "C:\POS"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"

VIProductVersion ${RING_VERSION}
VIFileVersion ${RING_VERSION}
VIAddVersionKey /LANG=0 "CompanyName" "${RING_COMPANY}"
VIAddVersionKey /LANG=0 "ProductName" "${RING_PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${RING_PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${RING_VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${RING_VERSION}"
VIAddVersionKey /LANG=0 "OriginalFilename" "RingSetup.exe"
VIAddVersionKey /LANG=0 "LegalCopyright" "${RING_COMPANY}"


; Exit codes besides 0 (installed) and NSIS's own 1 (cancelled by the user).
!define EXIT_FILES_IN_USE 3
!define EXIT_SERVER_WONT_STOP 4

; ringctl answers 0 running / 1 stopped / 3 no Ringhold to "status", 0 ended to "end".
!define RINGCTL_RUNNING 0
!define RINGCTL_ENDED 0
!define RINGCTL_ABSENT 3

Var ServerWasRunning
Var SyncWasRunning
Var BusyFiles

; ---------------------------------------------------------------------------------------------
; Pages

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "Choose the folder of the POS programs: the folder that holds POSOvena.INI. Ringhold and its libraries go there, its data below it in DATA\ and CONTROL\."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "POS program folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckPosFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------------------------------------
; What we ship. The lists drive the in-use check, the copying and the uninstaller alike.

!macro FOR_OUR_MODULES _macro
    !insertmacro ${_macro} "Ringhold.exe"
    !insertmacro ${_macro} "Ringtune.dll"
    !insertmacro ${_macro} "Ringtally.dll"
!macroend

!macro FOR_OUTSIDE_LIBRARIES _macro
    !insertmacro ${_macro} "KEYFILE.dll"
    !insertmacro ${_macro} "Pantry.dll"
    !insertmacro ${_macro} "Cfgvault.dll"
    !insertmacro ${_macro} "PRNVIEW32.dll"
    !insertmacro ${_macro} "Reptopt.dll"
!macroend

; The restaurant's files below DATA\, removed only when the user asks for it.
!macro FOR_DATA_FILES _macro
    !insertmacro ${_macro} "QuorlCID.CFG"
    !insertmacro ${_macro} "QuorlLog.OV5"
    !insertmacro ${_macro} "QuorlLog.OV5-journal"
    !insertmacro ${_macro} "QuorlExclLog.CID"
    !insertmacro ${_macro} "QuorlExclLog.CID-journal"
    !insertmacro ${_macro} "QuorlExclShow.CID"
    !insertmacro ${_macro} "QuorlExclShow.CID-journal"
    !insertmacro ${_macro} "OvenCID.DAT"
    !insertmacro ${_macro} "QuorlRaw.txt"
!macroend

!macro DELETE_DATA_FILE _name
    Delete "$INSTDIR\DATA\${_name}"
!macroend

; ---------------------------------------------------------------------------------------------
; Components: the sections only carry the choice; the hidden section after them does the work,
; so that everything in use is found before anything is replaced.

; The pages count only what sections copy themselves; the modules are copied by functions.
!define RING_MODULE_PATHS ""
!macro ADD_MODULE_PATH _name
    !define /redef RING_MODULE_PATHS '${RING_MODULE_PATHS} "${RING_BIN}/${_name}"'
!macroend
!insertmacro FOR_OUR_MODULES ADD_MODULE_PATH
!insertmacro FOR_OUTSIDE_LIBRARIES ADD_MODULE_PATH
!tempfile SIZE_FILE
!system 'du -ckL ${RING_MODULE_PATHS} | tail -n 1 | cut -f 1 > "${SIZE_FILE}"' = 0
!define /file RING_SIZE_KB "${SIZE_FILE}"
!delfile "${SIZE_FILE}"

Section "Ringhold caller ID server" SecServer
    SectionIn RO
    AddSize ${RING_SIZE_KB}
SectionEnd

Section "Start Ringhold at logon" SecAutostart
SectionEnd

Section /o "Back office demo" SecDemo
SectionEnd

Section /o "Head-office sync" SecSync
SectionEnd

Section "-Install"
    InitPluginsDir
    File "/oname=$PLUGINSDIR\ringctl.exe" "${RING_BIN}/ringctl.exe"
    Call StopServer
    Call StopSync
    Call FindBusyFiles
    Call ReplaceFiles
    CreateDirectory "$INSTDIR\DATA"
    CreateDirectory "$INSTDIR\CONTROL"
    Call WriteAutostart
    Call WriteSyncAutostart
    Call WriteShortcuts
    Call WriteUninstallEntry
    ${If} $ServerWasRunning == 1
        DetailPrint "Starting Ringhold again"
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\Ringhold.exe"'
    ${EndIf}
    Call StartSyncAgain
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecServer} "Ringhold, the configuration and report libraries, and the POS libraries they need where the folder has none of its own."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Starts Ringhold when you log on to Windows, as its tray menu's $\"Launch at System Boot$\" does."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDemo} "A small back office window that opens the configuration dialog and the reports, for trying the system without the POS."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSync} "Ringsync, which sends the call log to the head office's database, started when you log on. Needs the CIDSync section in POSOvena.INI (see the README)."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------------------------
; Uninstaller

Section "un.Ringhold and its libraries" UnSecProgram
    SectionIn RO
SectionEnd

Section /o "un.Call history and settings" UnSecData
SectionEnd

Section "-un.Remove"
    InitPluginsDir
    File "/oname=$PLUGINSDIR\ringctl.exe" "${RING_BIN}/ringctl.exe"
    ExecWait '"$PLUGINSDIR\ringctl.exe" end' $0
    ${If} $0 != ${RINGCTL_ENDED}
    ${AndIf} $0 != ${RINGCTL_ABSENT}
        MessageBox MB_OK|MB_ICONSTOP "Ringhold could not be stopped. End it from its tray menu, then uninstall again." /SD IDOK
        SetErrorLevel ${EXIT_SERVER_WONT_STOP}
        Abort
    ${EndIf}
    Call un.StopSync
    Call un.RemoveAutostart
    Call un.RemoveInstalledFiles
    Delete "${MENU_DIR}\Ringhold.lnk"
    Delete "${MENU_DIR}\Back Office (demo).lnk"
    RMDir "${MENU_DIR}"
    ${If} ${SectionIsSelected} ${UnSecData}
        !insertmacro FOR_DATA_FILES DELETE_DATA_FILE
        RMDir "$INSTDIR\DATA"
    ${EndIf}
    ; Left behind only when the POS keeps files of its own there.
    RMDir "$INSTDIR\CONTROL"
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey HKCU "${UNINST_KEY}"
    RMDir "$INSTDIR"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "Ringhold, Ringsync, their libraries, shortcuts and autostart values."
    !insertmacro MUI_DESCRIPTION_TEXT ${UnSecData} "Also deletes the call log, the exclusion lists and the configuration. Leave it unticked to keep the restaurant's call history."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------------------------
; Command line (silent mode): /AUTOSTART=yes|no, /DEMO=yes|no and /SYNC=yes|no choose the
; components;
; the uninstaller's /REMOVEDATA ticks the box that deletes DATA\.

Function .onInit
    ${GetParameters} $R0
    ; A fresh install starts Ringhold at logon; an upgrade keeps what the user chose since.
    ReadRegStr $R1 HKCU "${UNINST_KEY}" "InstallLocation"
    ${If} $R1 != ""
        ClearErrors
        ReadRegStr $R2 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${If} ${Errors}
            !insertmacro UnselectSection ${SecAutostart}
        ${EndIf}
    ${EndIf}
    ${GetOptions} $R0 "/AUTOSTART=" $R1
    ${If} $R1 == "yes"
        !insertmacro SelectSection ${SecAutostart}
    ${ElseIf} $R1 == "no"
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
    ${GetOptions} $R0 "/DEMO=" $R1
    ${If} $R1 == "yes"
        !insertmacro SelectSection ${SecDemo}
    ${ElseIf} $R1 == "no"
        !insertmacro UnselectSection ${SecDemo}
    ${EndIf}
    ; An upgrade keeps the sync where an earlier setup installed it.
    ClearErrors
    ReadRegStr $R2 HKCU "${FILES_KEY}" "Ringsync.exe"
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecSync}
    ${EndIf}
    ${GetOptions} $R0 "/SYNC=" $R1
    ${If} $R1 == "yes"
        !insertmacro SelectSection ${SecSync}
    ${ElseIf} $R1 == "no"
        !insertmacro UnselectSection ${SecSync}
    ${EndIf}
FunctionEnd

Function un.onInit
    ${un.GetParameters} $R0
    ClearErrors
    ${un.GetOptions} $R0 "/REMOVEDATA" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecData}
    ${EndIf}
FunctionEnd

Function CheckPosFolder
    ${IfNot} ${FileExists} "$INSTDIR\POSOvena.INI"
        MessageBox MB_YESNO|MB_ICONQUESTION "$INSTDIR holds no POSOvena.INI, so it does not look like the folder of the POS programs.$\n$\nInstall there anyway?" IDYES +2
        Abort
    ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------
; Our modules are told from the POS's own by their version resource.

; ModuleMark path -> $R8 "ours", "foreign" or "missing"; for ours $R6, $R7 its file version.
!macro MODULE_MARK_FUNCTION _un
Function ${_un}ModuleMark
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    StrCpy $R8 "foreign"
    ${IfNot} ${FileExists} $0
        StrCpy $R8 "missing"
    ${Else}
        System::Call 'version::GetFileVersionInfoSizeW(w r0, *i 0) i .r1'
        ${If} $1 <> 0
            System::Alloc $1
            Pop $2
            System::Call 'version::GetFileVersionInfoW(w r0, i 0, i r1, p r2) i .r3'
            ${If} $3 <> 0
                Push "CompanyName"
                Call ${_un}VersionString
                Pop $4
                Push "ProductName"
                Call ${_un}VersionString
                Pop $5
                ${If} $4 == "${RING_COMPANY}"
                ${AndIf} $5 == "${RING_PRODUCT}"
                    ClearErrors
                    GetDLLVersion $0 $R6 $R7
                    ${IfNot} ${Errors}
                        StrCpy $R8 "ours"
                    ${EndIf}
                ${EndIf}
            ${EndIf}
            System::Free $2
        ${EndIf}
    ${EndIf}
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; VersionString key -> the string of that name in the block read into $2, or "".
Function ${_un}VersionString
    Exch $R0
    Push $R1
    Push $R2
    System::Call 'version::VerQueryValueW(p r2, w "\StringFileInfo\040904B0\$R0", *p .R1, *i .R2) i .R2'
    StrCpy $R0 ""
    ${If} $R2 <> 0
        System::Call 'kernel32::lstrcpynW(w .R0, p R1, i ${NSIS_MAX_STRLEN})'
    ${EndIf}
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd
!macroend
!insertmacro MODULE_MARK_FUNCTION ""
!insertmacro MODULE_MARK_FUNCTION "un."

; ShouldWriteOutside name -> $R9 1 when the library is missing or ours and not newer than the
; one we ship (an equal one is written again, which repairs a damaged copy), else 0.
Function ShouldWriteOutside
    Exch $0
    Push "$INSTDIR\$0"
    Call ModuleMark
    StrCpy $R9 0
    ${If} $R8 == "missing"
        StrCpy $R9 1
    ${ElseIf} $R8 == "ours"
        ${If} $R6 U< ${RING_VERSION_MS}
            StrCpy $R9 1
        ${ElseIf} $R6 = ${RING_VERSION_MS}
        ${AndIf} $R7 U<= ${RING_VERSION_LS}
            StrCpy $R9 1
        ${EndIf}
    ${EndIf}
    Pop $0
FunctionEnd

; ---------------------------------------------------------------------------------------------
; Installing

; Ends a running Ringhold through its window, as its tray menu would, so that it shuts its
; server down in order and lets go of its modules and files.
Function StopServer
    StrCpy $ServerWasRunning 0
    ExecWait '"$PLUGINSDIR\ringctl.exe" status' $0
    ${If} $0 == ${RINGCTL_ABSENT}
        Return
    ${EndIf}
    ${If} $0 == ${RINGCTL_RUNNING}
        StrCpy $ServerWasRunning 1
    ${EndIf}
    DetailPrint "Stopping Ringhold"
    ExecWait '"$PLUGINSDIR\ringctl.exe" end' $0
    ${If} $0 != ${RINGCTL_ENDED}
        MessageBox MB_OK|MB_ICONSTOP "Ringhold could not be stopped. End it from its tray menu, then run the setup again." /SD IDOK
        SetErrorLevel ${EXIT_SERVER_WONT_STOP}
        Abort
    ${EndIf}
FunctionEnd

; The sync holds KEYFILE and Pantry loaded; "/stop" ends this folder's one and answers 0 once none
; runs. It is found by its window, whose caption is the folder as the program sees it.
!macro SYNC_FUNCTIONS _un
Function ${_un}SyncRunning
    StrCpy $R9 0
    FindWindow $0 "${SYNC_WINDOW_CLASS}" "$INSTDIR\"
    ${If} $0 = 0
        FindWindow $0 "${SYNC_WINDOW_CLASS}" "$INSTDIR"
    ${EndIf}
    ${If} $0 <> 0
        StrCpy $R9 1
    ${EndIf}
FunctionEnd

Function ${_un}StopSync
    StrCpy $SyncWasRunning 0
    ${IfNot} ${FileExists} "$INSTDIR\Ringsync.exe"
        Return
    ${EndIf}
    Call ${_un}SyncRunning
    StrCpy $SyncWasRunning $R9
    DetailPrint "Stopping Ringsync"
    ExecWait '"$INSTDIR\Ringsync.exe" /stop' $0
    ${If} $0 != 0
        MessageBox MB_OK|MB_ICONSTOP "Ringsync could not be stopped. Log off and on again, then run the setup again." /SD IDOK
        SetErrorLevel ${EXIT_SERVER_WONT_STOP}
        Abort
    ${EndIf}
FunctionEnd
!macroend
!insertmacro SYNC_FUNCTIONS ""
!insertmacro SYNC_FUNCTIONS "un."

; Started again only where it ran before and the new install still has it.
Function StartSyncAgain
    ${If} $SyncWasRunning == 1
    ${AndIf} ${FileExists} "$INSTDIR\Ringsync.exe"
        DetailPrint "Starting Ringsync again"
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\Ringsync.exe"'
    ${EndIf}
FunctionEnd

; A file another program holds open without letting others write (a DLL the back office has
; loaded, on Windows) cannot be replaced; finding one half way would leave a mixed install.
!macro NOTE_IF_BUSY _name
    ${If} ${FileExists} "$INSTDIR\${_name}"
        ClearErrors
        FileOpen $0 "$INSTDIR\${_name}" a
        ${If} ${Errors}
            StrCpy $BusyFiles "$BusyFiles$\n    ${_name}"
        ${Else}
            FileClose $0
        ${EndIf}
    ${EndIf}
!macroend

!macro NOTE_OUTSIDE_IF_BUSY _name
    Push "${_name}"
    Call ShouldWriteOutside
    ${If} $R9 == 1
        !insertmacro NOTE_IF_BUSY "${_name}"
    ${EndIf}
!macroend

Function FindBusyFiles
    retry:
    StrCpy $BusyFiles ""
    !insertmacro FOR_OUR_MODULES NOTE_IF_BUSY
    !insertmacro FOR_OUTSIDE_LIBRARIES NOTE_OUTSIDE_IF_BUSY
    !insertmacro NOTE_IF_BUSY "${UNINSTALLER}"
    ${If} ${SectionIsSelected} ${SecDemo}
        !insertmacro NOTE_IF_BUSY "BackOffice.exe"
    ${EndIf}
    !insertmacro NOTE_IF_BUSY "Ringsync.exe"
    ${If} $BusyFiles == ""
        Return
    ${EndIf}
    DetailPrint "In use by another program:$BusyFiles"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "These files are in use by another program (the POS back office?):$BusyFiles$\n$\nClose it, then press Retry. Nothing has been changed yet." /SD IDCANCEL IDRETRY retry
    ${If} $ServerWasRunning == 1
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\Ringhold.exe"'
    ${EndIf}
    Call StartSyncAgain
    SetErrorLevel ${EXIT_FILES_IN_USE}
    Abort
FunctionEnd

!macro WRITE_OUR_MODULE _name
    File "${RING_BIN}/${_name}"
    WriteRegStr HKCU "${FILES_KEY}" "${_name}" ""
!macroend

!macro WRITE_OUTSIDE_LIBRARY _name
    Push "${_name}"
    Call ShouldWriteOutside
    ${If} $R9 == 1
        !insertmacro WRITE_OUR_MODULE "${_name}"
    ${Else}
        DetailPrint "Kept ${_name}: the folder has one of its own"
    ${EndIf}
!macroend

Function ReplaceFiles
    SetOutPath "$INSTDIR"
    !insertmacro FOR_OUR_MODULES WRITE_OUR_MODULE
    !insertmacro FOR_OUTSIDE_LIBRARIES WRITE_OUTSIDE_LIBRARY
    ${If} ${SectionIsSelected} ${SecDemo}
        !insertmacro WRITE_OUR_MODULE "BackOffice.exe"
    ${EndIf}
    ${If} ${SectionIsSelected} ${SecSync}
        !insertmacro WRITE_OUR_MODULE "Ringsync.exe"
    ${Else}
        Call RemoveSync
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
FunctionEnd

; The same value and data as the tray menu's "Launch at System Boot": the program's full path,
; quoted when it is shorter than 298 characters.
Function WriteAutostart
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
        Return
    ${EndIf}
    StrCpy $0 "$INSTDIR\Ringhold.exe"
    StrLen $1 $0
    ${If} $1 < 298
        StrCpy $0 '"$0"'
    ${EndIf}
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" $0
FunctionEnd

; Unticked on an upgrade: the sync an earlier setup installed goes, a foreign one stays.
Function RemoveSync
    ClearErrors
    ReadRegStr $0 HKCU "${FILES_KEY}" "Ringsync.exe"
    ${If} ${Errors}
        Return
    ${EndIf}
    Push "$INSTDIR\Ringsync.exe"
    Call ModuleMark
    ${If} $R8 == "ours"
        Delete "$INSTDIR\Ringsync.exe"
    ${EndIf}
    DeleteRegValue HKCU "${FILES_KEY}" "Ringsync.exe"
FunctionEnd

; The Run value holds the quoted path, as Ringhold's does; removed only when it is this folder's.
Function WriteSyncAutostart
    ${If} ${SectionIsSelected} ${SecSync}
        WriteRegStr HKCU "${RUN_KEY}" "${SYNC_RUN_VALUE}" '"$INSTDIR\Ringsync.exe"'
    ${Else}
        Call RemoveSyncAutostart
    ${EndIf}
FunctionEnd

!macro REMOVE_SYNC_AUTOSTART_FUNCTION _un
Function ${_un}RemoveSyncAutostart
    ReadRegStr $0 HKCU "${RUN_KEY}" "${SYNC_RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\Ringsync.exe"'
    ${OrIf} $0 == "$INSTDIR\Ringsync.exe"
        DeleteRegValue HKCU "${RUN_KEY}" "${SYNC_RUN_VALUE}"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro REMOVE_SYNC_AUTOSTART_FUNCTION ""
!insertmacro REMOVE_SYNC_AUTOSTART_FUNCTION "un."

Function WriteShortcuts
    SetShellVarContext current
    CreateDirectory "${MENU_DIR}"
    ; The shortcut's working folder is $OUTDIR, the program directory the programs expect.
    SetOutPath "$INSTDIR"
    CreateShortcut "${MENU_DIR}\Ringhold.lnk" "$INSTDIR\Ringhold.exe"
    ${If} ${SectionIsSelected} ${SecDemo}
        CreateShortcut "${MENU_DIR}\Back Office (demo).lnk" "$INSTDIR\BackOffice.exe"
    ${Else}
        Delete "${MENU_DIR}\Back Office (demo).lnk"
    ${EndIf}
FunctionEnd

Function WriteUninstallEntry
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${RING_PRODUCT} (Ringhold)"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${RING_VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${RING_COMPANY}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Ringhold.exe"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
FunctionEnd

; ---------------------------------------------------------------------------------------------
; Uninstalling

; The value is removed only when it starts this folder's Ringhold: another copy's stays.
Function un.RemoveAutostart
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\Ringhold.exe"'
    ${OrIf} $0 == "$INSTDIR\Ringhold.exe"
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    Call un.RemoveSyncAutostart
FunctionEnd

; Removes each file the installer recorded, unless something since put a foreign one there.
Function un.RemoveInstalledFiles
    StrCpy $1 0
    loop:
        EnumRegValue $0 HKCU "${FILES_KEY}" $1
        StrCmp $0 "" done
        IntOp $1 $1 + 1
        Push "$INSTDIR\$0"
        Call un.ModuleMark
        ${If} $R8 == "ours"
            Delete "$INSTDIR\$0"
        ${Else}
            DetailPrint "Kept $0: it is not ours"
        ${EndIf}
        Goto loop
    done:
FunctionEnd
