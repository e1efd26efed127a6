; yopo.nsi: ヨポ's Windows installer. It installs for the player alone, with
; no administrator prompt, under %LOCALAPPDATA%\Programs\ヨポ, adds the game to
; the Start menu and to Windows' list of apps, and speaks Japanese. /S
; installs silently. CMake (CMakeLists.txt beside this file) passes the
; version and the paths: VERSION, VERSION_NUMBERS, APP_ID, PROGRAM, LICENCE,
; ICON and OUTFILE.

; 64-bit like the game, and so it runs wherever yopo.exe does.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; No file times in the installer: the same files give the same bytes.
SetDateSave off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define kName "ヨポ"
!define kPublisher "The ヨポ developers"
!define kUninstallKey "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define kShortcut "$SMPROGRAMS\${kName}.lnk"
; Where the game keeps the player's bath between runs: the player's, not ours.
!define kKeptBath "$LOCALAPPDATA\${kName}"

Name "${kName}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${kName}"
; Installing again goes where the last install went, and so replaces it.
InstallDirRegKey HKCU "${kUninstallKey}" "InstallLocation"
BrandingText "${kName} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\yopo.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion ${VERSION_NUMBERS}
VIFileVersion ${VERSION_NUMBERS}
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${kName}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${kName} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${kPublisher}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright 2026 ${kPublisher} (MIT)"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

Section "-${kName}"
    SetOutPath "$INSTDIR"
    File "/oname=yopo.exe" "${PROGRAM}"
    File "/oname=LICENSE.txt" "${LICENCE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${kShortcut}" "$INSTDIR\yopo.exe" "" "$INSTDIR\yopo.exe" 0

    WriteRegStr HKCU "${kUninstallKey}" "DisplayName" "${kName}"
    WriteRegStr HKCU "${kUninstallKey}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${kUninstallKey}" "DisplayIcon" "$INSTDIR\yopo.exe,0"
    WriteRegStr HKCU "${kUninstallKey}" "Publisher" "${kPublisher}"
    WriteRegStr HKCU "${kUninstallKey}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${kUninstallKey}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${kUninstallKey}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${kUninstallKey}" "NoModify" 1
    WriteRegDWORD HKCU "${kUninstallKey}" "NoRepair" 1
    ; The size Windows shows beside the name, in KB.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${kUninstallKey}" "EstimatedSize" "$0"
SectionEnd

; Exactly what the installer wrote. The folder goes only if nothing else is
; left in it.
Section "-un.${kName}"
    Delete "$INSTDIR\yopo.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${kShortcut}"
    DeleteRegKey HKCU "${kUninstallKey}"
SectionEnd

; Off unless the player ticks it, or passes /REMOVEBATH.
Section /o "un.保存したお風呂も消す" kKeptBathSection
    RMDir /r "${kKeptBath}"
SectionEnd

Function un.onInit
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVEBATH" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${kKeptBathSection}
    ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${kKeptBathSection} "ヨポが取っておいたお風呂（${kKeptBath}）も削除します。"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
