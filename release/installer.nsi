; The installer of gen_vorn.dll: finds the player's folder, puts the plugin into its Plugins
; folder and registers an uninstaller that removes exactly that. Japanese and English.
;   makensis -DVERSION=1.21 -DDLL=path/gen_vorn.dll -DOUTFILE=setup.exe [-DTARGET=...] installer.nsi
; Silent: setup.exe /S [/D=PLAYER FOLDER], gen_vorn-uninstall.exe /S

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
; The player's main window, by its class: how to tell that it is running.
!define PLAYER_WINDOW_CLASS "Winamp v1.x"

Name "gen_vorn ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin ; the player usually lives under Program Files
; Where the player records its folder for the current user; /D= overrides it.
InstallDirRegKey HKCU "Software\Winamp" ""
SetCompressor /SOLID lzma
; The installer holds no file times: the DLL's own would differ from build to build, and the same
; sources must make the same installer.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ABORTWARNING
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
LangString PlayerRunning ${LANG_JAPANESE} "Winampが起動しています。Winampを終了してから「再試行」を押してください。"
LangString PlayerRunning ${LANG_ENGLISH} "Winamp is running. Close it, then press Retry."

!macro REFUSE_WHILE_PLAYER_RUNS
    retry:
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    ${If} $0 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(PlayerRunning)" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro MUI_LANGDLL_DISPLAY
    ${If} $INSTDIR == ""
        StrCpy $INSTDIR "$PROGRAMFILES32\Winamp" ; the player's usual folder
    ${EndIf}
FunctionEnd

Section
    !insertmacro REFUSE_WHILE_PLAYER_RUNS
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
SectionEnd

Function un.onInit
    !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; The uninstaller lives in the Plugins folder, its $INSTDIR. The folder, the player's other
; plugins and the settings in the player's ini file stay.
Section "Uninstall"
    !insertmacro REFUSE_WHILE_PLAYER_RUNS
    Delete "$INSTDIR\gen_vorn.dll"
    Delete "$INSTDIR\${UNINSTALLER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
