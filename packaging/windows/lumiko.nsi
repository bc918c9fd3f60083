; The Windows installer of Lumiko, built with NSIS (makensis runs on Linux):
; installs the panel per machine (Program Files, for administrators) or per
; user (the user's own programs folder, no administrator needed), adds the
; Start menu entry "Lumiko输入法" and an uninstaller listed in Apps & features.
; /S installs silently; /AllUsers or /CurrentUser choose the scope.
;   makensis -DVERSION=1.0 -DSOURCE=<the program's folder> -DICON=<lumiko.ico> -DOUTFILE=<setup.exe> lumiko.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION | SOURCE | ICON | OUTFILE
  !error "VERSION, SOURCE, ICON and OUTFILE must be defined"
!endif

!define NAME "Lumiko输入法"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumiko"

Name "${NAME}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${NAME}"
VIAddVersionKey /LANG=2052 "FileDescription" "${NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Lumiko"

; Per machine when the user may, per user otherwise; the uninstaller finds
; the scope of the installation in the registry.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Lumiko"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallScope"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\lumiko.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Lumiko"
  SetOutPath "$INSTDIR"
  File "${SOURCE}/lumiko.exe"
  File "${SOURCE}/pinyin.txt"
  File "${SOURCE}/handwriting-zh_CN.model"
  File "${SOURCE}/帮助.chm"
  File /r "${SOURCE}/词库"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Started from the Start menu, the panel's working folder is its own.
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\lumiko.exe" "" "$INSTDIR\lumiko.exe" 0

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumiko.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Lumiko"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallScope" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put there and what the panel wrote beside its
; tables (the dictionary choice, dictionaries the user added). The user's
; own folder (%APPDATA%\Lumiko) is kept, as other programs keep theirs.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\lumiko.exe"
  Delete "$INSTDIR\pinyin.txt"
  Delete "$INSTDIR\handwriting-zh_CN.model"
  Delete "$INSTDIR\帮助.chm"
  RMDir /r "$INSTDIR\词库"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; 登录时启动 of the user who uninstalls, when it starts this copy.
  ReadRegStr $0 HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Lumiko"
  StrCmp $0 '"$INSTDIR\lumiko.exe"' 0 +2
    DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Lumiko"
SectionEnd
