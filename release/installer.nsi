; The installer of gen_vorn.dll: finds the player's folder, puts the plugin into its Plugins
; folder and registers an uninstaller that removes exactly that. Japanese and English.
;   makensis -DVERSION=1.21 -DDLL=path/gen_vorn.dll -DOUTFILE=setup.exe [-DTARGET=...] installer.nsi
; Silent: setup.exe /S [/D=PLAYER FOLDER], gen_vorn-uninstall.exe /S [_?=PLUGINS FOLDER]
; Exit codes of both: 0 done; 1 cancelled; 2 the player runs or the DLL is in use, nothing
; changed; 3 (the installer only) the folder holds no winamp.exe, nothing written. Without _?=
; the uninstaller runs from a copy in the temporary folder and its own exit code is 0 at once.

Unicode true
!ifndef VERSION | DLL | OUTFILE
    !error "VERSION, DLL and OUTFILE must be defined"
!endif
!ifndef TARGET
    !define TARGET x86-unicode ; the player is a 32-bit program
!endif
Target ${TARGET}

!define PRODUCT "vorn station song Plugin for winamp"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\gen_vorn"
!define UNINSTALLER "gen_vorn-uninstall.exe"
; The player's main window, by its class: how to tell that it is running, where its window can
; be seen.
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
; The player's own uninstall record, which its installer writes for the whole machine.
!define PLAYER_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"

Name "gen_vorn ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin ; the player usually lives under Program Files
SetCompressor /SOLID lzma
; A DLL that cannot be written is never left behind silently.
AllowSkipFiles off
; The installer holds no file times: the DLL's own would differ from build to build, and the same
; sources must make the same installer.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ABORTWARNING
; The uninstaller speaks the language chosen for the install instead of asking again.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(ChooseFolder)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

; What the setup program's own Properties > Details show: the plugin's version.
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} ${VERSION} setup"
!pragma warning disable 9100 ; the plugin has no copyright line to show

LangString ChooseFolder ${LANG_JAPANESE} "Winampのフォルダ（winamp.exeのあるフォルダ）を選んでください。プラグインはその中のPluginsフォルダに入ります。"
LangString ChooseFolder ${LANG_ENGLISH} "Choose the Winamp folder (the one holding winamp.exe). The plugin goes into its Plugins folder."
LangString PlayerRunning ${LANG_JAPANESE} "Winampが起動しているか、gen_vorn.dllが使用中です。Winampを終了してから「再試行」を押してください。"
LangString PlayerRunning ${LANG_ENGLISH} "Winamp is running, or gen_vorn.dll is in use. Close Winamp, then press Retry."

; Waits while the player runs or the DLL is in use, offering Retry; gives up with exit code 2.
; A player started with another window class, or in another user's session, has no window to
; be found here, but it holds the DLL, which then cannot be opened for writing.
!macro REFUSE_WHILE_IN_USE DLL_PATH
    retry:
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 == 0
    ${AndIf} ${FileExists} "${DLL_PATH}"
        ClearErrors
        FileOpen $1 "${DLL_PATH}" a ; the file exists, so nothing is made
        ${If} ${Errors}
            StrCpy $0 1
        ${Else}
            FileClose $1
        ${EndIf}
    ${EndIf}
    ${If} $0 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PlayerRunning)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

Var PlayerFound

; $0: the folder of a registry value, which is a folder or a program in it, maybe quoted.
Function FolderOf
    StrCpy $1 $0 1
    ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $2 0
        ${Do}
            StrCpy $1 $0 1 $2
            ${If} $1 == '"'
            ${OrIf} $1 == ""
                ${ExitDo}
            ${EndIf}
            IntOp $2 $2 + 1
        ${Loop}
        StrCpy $0 $0 $2
    ${Else}
        ; Unquoted, the program's path ends at its ".exe", blanks and all; arguments may follow.
        StrCpy $2 0
        ${Do}
            StrCpy $1 $0 4 $2
            ${If} $1 == ".exe"
                IntOp $2 $2 + 4
                StrCpy $0 $0 $2
                ${ExitDo}
            ${ElseIf} $1 == ""
                ${ExitDo}
            ${EndIf}
            IntOp $2 $2 + 1
        ${Loop}
    ${EndIf}
    StrCpy $1 $0 "" -4
    ${If} $1 == ".exe" ; compared without regard to case
        ${GetParent} $0 $0
    ${EndIf}
FunctionEnd

; $0: a folder that may be the player's. Taken when it holds winamp.exe and none before did, or
; when there is no folder yet, for the folder page to start from.
Function ConsiderFolder
    ${If} $PlayerFound != 1
    ${AndIf} $0 != ""
        ${If} ${FileExists} "$0\winamp.exe"
            StrCpy $INSTDIR $0
            StrCpy $PlayerFound 1
        ${ElseIf} $INSTDIR == ""
            StrCpy $INSTDIR $0
        ${EndIf}
    ${EndIf}
FunctionEnd

; Without /D=, the player's folder: from its record for the current user; else from its
; uninstall record, for the installer runs as whoever gave the administrator's password, whose
; own record may be missing; else its usual folder.
Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
    ${If} $INSTDIR == ""
        ReadRegStr $0 HKCU "Software\Winamp" ""
        Call FolderOf
        Call ConsiderFolder
        ReadRegStr $0 HKLM "${PLAYER_UNINSTALL_KEY}" "UninstallString"
        Call FolderOf
        Call ConsiderFolder
        StrCpy $0 "$PROGRAMFILES32\Winamp"
        Call ConsiderFolder
    ${EndIf}
FunctionEnd

; The folder page lets the user go on only with the player's folder.
Function .onVerifyInstDir
    ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
        Abort
    ${EndIf}
FunctionEnd

Section
    ; A silent install, or a folder given with /D=, may hold no player: then nothing is written.
    ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
        SetErrorLevel 3
        Quit
    ${EndIf}
    !insertmacro REFUSE_WHILE_IN_USE "$INSTDIR\Plugins\gen_vorn.dll"
    SetOutPath "$INSTDIR\Plugins"
    File "/oname=gen_vorn.dll" "${DLL}"
    WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; Also where the install is silent and the pages, which would save it, are not shown.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Installer Language" $LANGUAGE
SectionEnd

Function un.onInit
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; The uninstaller lives in the Plugins folder, its $INSTDIR. The folder, the player's other
; plugins and the settings in the player's ini file stay. Its registration goes only with the
; DLL, so that no DLL is left that Apps cannot remove.
Section "Uninstall"
    !insertmacro REFUSE_WHILE_IN_USE "$INSTDIR\gen_vorn.dll"
    Delete "$INSTDIR\gen_vorn.dll"
    ${If} ${FileExists} "$INSTDIR\gen_vorn.dll"
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PlayerRunning)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
