; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer, made by scripts/windows with Debian's makensis:
;   makensis -DVERSION=98.0 -DSTAGE=folder -DFILES=files.nsh -DREMOVE=remove.nsh
;            -DICON=quillkit98.ico -DOUTFILE=setup.exe installer.nsi
; STAGE holds the files to install (the zip's folder); FILES and REMOVE list
; them one line each, so that the uninstaller removes exactly what was made.
; For the user alone, without administrator rights, into the user's programs
; folder; /S installs silently, and /NOPATH leaves the PATH as it is.
Target amd64-unicode
SetCompressor /SOLID lzma
SetCompressorDictSize 32
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS Win10

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

!define PRODUCT "Quillkit 98"
!define PUBLISHER "The Quillkit 98 developers"
!define UNINSTALL_PARENT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_PARENT}\Quillkit98"
!define ENVIRONMENT_KEY "Environment"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}, GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup installs ${PRODUCT} ${VERSION} for you alone, in your own programs folder, without administrator rights.$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillkit98.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT}" SectionProgram
    SectionIn RO
    SetShellVarContext current
    ; The user's list of programs to uninstall may be missing: made here, it
    ; goes with the uninstall when nothing else is in it.
    ClearErrors
    EnumRegKey $0 HKCU "${UNINSTALL_PARENT}" 0
    ${If} ${Errors}
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "ParentKeyCreated" 1
    ${EndIf}
    ; So may the user's programs folder be, on a new account.
    ${GetParent} "$INSTDIR" $0
    ${IfNot} ${FileExists} "$0\*.*"
        WriteRegStr HKCU "${UNINSTALL_KEY}" "ParentCreated" "$0"
    ${EndIf}
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillkit98.exe" "" "$INSTDIR\quillkit98.exe" 0 \
        SW_SHOWNORMAL "" "Ready-made BASIC code for message boxes, input boxes, file headers and common dialogs"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillkit98.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The folder on the user's own PATH, so that "quillkit98" (quillkit98.com)
; works in cmd and PowerShell, for editors, the language server and hooks.
Section "Command line on the PATH" SectionPath
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    ${If} $0 == ""
        ; The uninstaller removes a value that it made whole.
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "PathCreated" 1
        StrCpy $1 "$INSTDIR"
    ${Else}
        ${WordAdd} "$0" ";" "+$INSTDIR" $1
    ${EndIf}
    ${If} $1 != $0
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$1"
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "PathAdded" 1
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
    ${EndIf}
SectionEnd

LangString DESC_SectionProgram ${LANG_ENGLISH} "The program, its guide, its licences and its source."
LangString DESC_SectionPath ${LANG_ENGLISH} "Your PATH gets the program's folder, so that cmd, PowerShell, editors and hooks run $\"quillkit98 generate ...$\" anywhere."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionProgram} $(DESC_SectionProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionPath} $(DESC_SectionPath)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    SetShellVarContext current
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOPATH" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SectionPath} 0
    ${EndIf}
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "PathAdded"
    ${If} $0 == 1
        ReadRegStr $1 HKCU "${ENVIRONMENT_KEY}" "Path"
        ${un.WordAdd} "$1" ";" "-$INSTDIR" $2
        ReadRegDWORD $3 HKCU "${UNINSTALL_KEY}" "PathCreated"
        ${If} $2 == ""
        ${AndIf} $3 == 1
            DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
        ${ElseIf} $2 != $1
            WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$2"
        ${EndIf}
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
    ${EndIf}
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: a file of the user's own stays, and with it the folder.
    RMDir "$INSTDIR"
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "ParentCreated"
    ${If} $0 != ""
        RMDir "$0"
    ${EndIf}
    ReadRegDWORD $1 HKCU "${UNINSTALL_KEY}" "ParentKeyCreated"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${If} $1 == 1
        DeleteRegKey /ifempty HKCU "${UNINSTALL_PARENT}"
    ${EndIf}
SectionEnd
