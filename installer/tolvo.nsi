; Tolvo's installer. For all users when it may (Program Files, HKLM), otherwise for the current
; user without elevation (%LOCALAPPDATA%\Programs\Tolvo, HKCU); /AllUsers or /CurrentUser
; choose, /S installs silently, /D= names the folder. .ace files get a type of Tolvo's own and
; open in Tolvo where no other program owns them.
;
; makensis /DSOURCE=<folder with tolvo.exe, readme.txt and the how-to> /DOUTFILE=<setup.exe>
;          [/DARCH=amd64] tolvo.nsi
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user ; raised by MultiUser below where the user may

!ifndef SOURCE | OUTFILE
  !error "SOURCE and OUTFILE must be defined"
!endif
!ifndef ARCH
  !define ARCH x86
!endif

; The version and the names, as the exe itself carries them.
!getdllversion "${SOURCE}\tolvo.exe" VERSION_
!define VERSION "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
!define RESOURCES "${__FILEDIR__}\..\src\resources\tolvo.rc"
!searchparse /file "${RESOURCES}" `VALUE "CompanyName", "` PUBLISHER `"`
!searchparse /file "${RESOURCES}" `VALUE "FileDescription", "` DESCRIPTION `"`
!searchparse /file "${RESOURCES}" `VALUE "LegalCopyright", "` COPYRIGHT `"`
!define COMMAND_SOURCE "${__FILEDIR__}\..\src\main\UnpackCommand.cpp"
!searchparse /file "${COMMAND_SOURCE}" `Exception("Nie znaleziono ` NOT_FOUND_1 `"`
!searchparse /file "${COMMAND_SOURCE}" `"lub w folderze ` NOT_FOUND_2 `"`
!define NOT_FOUND "Nie znaleziono ${NOT_FOUND_1}lub w folderze ${NOT_FOUND_2}"

!define PRODUCT "Tolvo"
!define PROGID "Tolvo.ArchiwumACE"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "FileDescription" "${PRODUCT} – instalator"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${COPYRIGHT}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!if ${ARCH} == amd64
  Target amd64-unicode
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${__FILEDIR__}\..\src\resources\mainicon.ico"
!define MUI_UNICON "${__FILEDIR__}\..\src\resources\mainicon.ico"
!define MUI_ABORTWARNING

Var FinishText
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE FinishPre
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN "$INSTDIR\tolvo.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\jak_uruchomic.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

; The folder a /D= names wins over the one the install mode picks.
Var ChosenFolder
Function .onInit
  StrCpy $ChosenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $ChosenFolder != ""
    StrCpy $INSTDIR $ChosenFolder
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Tolvo"
  SetOutPath "$INSTDIR"
  File "${SOURCE}\tolvo.exe"
  File "${SOURCE}\readme.txt"
  File "${SOURCE}\jak_uruchomic.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tolvo.exe"
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallMode" "$MultiUser.InstallMode"
  Call WriteUninstallEntry
  Call AssociateArchives
SectionEnd

Function WriteUninstallEntry
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tolvo.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; Tolvo's own type for ACE archives, offered in "Open with"; the default only where no other
; program owns .ace: another program's association is never taken over.
Function AssociateArchives
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tolvo.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" \
    '"$INSTDIR\tolvo.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.ace\OpenWithProgids" "${PROGID}" ""
  ReadRegStr $0 HKCR ".ace" ""
  ${If} $0 == ""
  ${OrIf} $0 == "${PROGID}"
    WriteRegStr SHCTX "Software\Classes\.ace" "" "${PROGID}"
  ${EndIf}
  Call TellTheShell
FunctionEnd

!macro TELL_THE_SHELL prefix
  Function ${prefix}TellTheShell
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
  FunctionEnd
!macroend
!insertmacro TELL_THE_SHELL ""
!insertmacro TELL_THE_SHELL "un."

; The finish page says where ace32.exe goes when neither the chosen folder nor the search path
; has it, in the words of the program's own error box.
Function FinishPre
  StrCpy $FinishText "$(MUI_TEXT_FINISH_INFO_TEXT)"
  SearchPath $0 "ace32.exe"
  ${If} ${FileExists} "$INSTDIR\ace32.exe"
  ${OrIf} $0 != ""
    Return
  ${EndIf}
  StrCpy $FinishText "Tolvo zainstalowano w folderze:$\r$\n$INSTDIR$\r$\n$\r$\n${NOT_FOUND}."
FunctionEnd

; Exactly what the installer made goes; anything else in the folder stays, and the folder with it.
Section "Uninstall"
  Delete "$INSTDIR\tolvo.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\jak_uruchomic.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  ReadRegStr $0 SHCTX "Software\Classes\.ace" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.ace" ""
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\.ace\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.ace\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.ace"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${SETTINGS_KEY}"
  Call un.TellTheShell
SectionEnd
