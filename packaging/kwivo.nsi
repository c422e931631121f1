; The per-user installer of Kwivo: 64-bit, no administrator prompt.
; makensis -DVERSION=x.y.z -DSTAGE=folder -DOUTFILE=setup.exe kwivo.nsi
; STAGE holds kwivo.exe, kwivo-guide.txt, kwivo.sample.ini, LICENSE.txt,
; kwivo.recommended.ini and the sample sources in sources\.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwivo"
; Kwivo reads kwivo.ini from the folder it starts in: every shortcut starts
; it here, where the settings outlive upgrades and uninstalls.
!define SETTINGS_FOLDER "$APPDATA\Kwivo"

Name "Kwivo ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kwivo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Kwivo"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Kwivo ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Kwivo developers, MIT licence"

!define MUI_ICON "${STAGE}\kwivo.ico"
!define MUI_UNICON "${STAGE}\kwivo.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Kwivo now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKwivo

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks every Kwivo window to close, as the user's "/q" would, so that the
; launcher saves its activation count, and waits for its process to end
; before files are replaced or removed. Aborts, saying why, when one stays.
!macro CLOSE_KWIVO un
Function ${un}CloseKwivo
    StrCpy $3 0
    ${Do}
        FindWindow $0 "KWIVO"
        ${If} $0 == 0
            Return
        ${EndIf}
        ${If} $3 >= 5
            MessageBox MB_OK|MB_ICONSTOP "Kwivo is still running and did not close. Quit it (type /q in its strip) and run this again." /SD IDOK
            Abort
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
        SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
        ${If} $2 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p r2, i 5000)'
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
        IntOp $3 $3 + 1
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_KWIVO ""
!insertmacro CLOSE_KWIVO "un."

Section "Kwivo" SectionProgram
    SectionIn RO
    Call CloseKwivo
    SetOutPath "$INSTDIR"
    File "${STAGE}\kwivo.exe"
    File "${STAGE}\kwivo-guide.txt"
    File "${STAGE}\kwivo.sample.ini"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "${SETTINGS_FOLDER}"
SectionEnd

; A first install starts with the modern set turned on; an existing
; kwivo.ini, an upgrade's, is never touched. The sample sources it names are
; the user's to change, beside it: one that is there already stays.
Section "Recommended settings" SectionRecommended
    ${IfNot} ${FileExists} "${SETTINGS_FOLDER}\kwivo.ini"
        SetOutPath "${SETTINGS_FOLDER}"
        File "/oname=kwivo.ini" "${STAGE}\kwivo.recommended.ini"
    ${EndIf}
    SetOutPath "${SETTINGS_FOLDER}\sources"
    SetOverwrite off
    File "${STAGE}\sources\processes.cmd"
    File "${STAGE}\sources\windows.ps1"
    SetOverwrite on
SectionEnd

Section "Start Menu shortcut" SectionStartMenu
    SetOutPath "${SETTINGS_FOLDER}"
    CreateShortcut "$SMPROGRAMS\Kwivo.lnk" "$INSTDIR\kwivo.exe"
SectionEnd

Section "Start Kwivo with Windows" SectionStartup
    SetOutPath "${SETTINGS_FOLDER}"
    CreateShortcut "$SMSTARTUP\Kwivo.lnk" "$INSTDIR\kwivo.exe"
SectionEnd

; Last: an upgrade without a component takes away its old shortcut, and the
; size is that of what was installed.
Section "-Register"
    ${IfNot} ${SectionIsSelected} ${SectionStartMenu}
        Delete "$SMPROGRAMS\Kwivo.lnk"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SectionStartup}
        Delete "$SMSTARTUP\Kwivo.lnk"
    ${EndIf}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kwivo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kwivo developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kwivo.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

LangString DESC_Program ${LANG_ENGLISH} "The launcher, its guide and a sample kwivo.ini."
LangString DESC_Recommended ${LANG_ENGLISH} "On a first install, a kwivo.ini that turns on Start Menu names, word starts, accents, remembered picks, a calculator, switching to running programs, watched folders, Ctrl+Enter, the monitor under the mouse, DPI scaling and the desktop's font, and two sample script sources. An existing kwivo.ini is kept."
LangString DESC_StartMenu ${LANG_ENGLISH} "A Kwivo shortcut in the Start Menu."
LangString DESC_Startup ${LANG_ENGLISH} "Start Kwivo when you sign in to Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} $(DESC_Program)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionRecommended} $(DESC_Recommended)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionStartMenu} $(DESC_StartMenu)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionStartup} $(DESC_Startup)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; /NOSTARTUP leaves Kwivo out of the Startup folder (for silent installs).
Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOSTARTUP" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SectionStartup}
    ${EndIf}
FunctionEnd

Function StartKwivo
    SetOutPath "${SETTINGS_FOLDER}"
    Exec '"$INSTDIR\kwivo.exe"'
FunctionEnd

; The user's kwivo.ini in the settings folder is kept.
Section "Uninstall"
    Call un.CloseKwivo
    Delete "$SMPROGRAMS\Kwivo.lnk"
    Delete "$SMSTARTUP\Kwivo.lnk"
    Delete "$INSTDIR\kwivo.exe"
    Delete "$INSTDIR\kwivo-guide.txt"
    Delete "$INSTDIR\kwivo.sample.ini"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
