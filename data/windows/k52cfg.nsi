; The K52CFG installer: a per-user install (no administrator rights) of the
; window program, k52ctl, the language files and Qt's translations, with
; Start menu entries and an uninstaller that leaves the user's settings and
; files alone. Made by scripts/package-windows.sh:
;   makensis -DVERSION=1.2.3 -DSTAGE=<folder of the files> -DLICENCE_PAGE=<text> -DOUTFILE=<setup.exe> k52cfg.nsi
; (the licence page: K52CFG's licence and the third-party licences, one text)
; The programs are 64-bit, and so is the installer (it also runs where no
; 32-bit Windows layer is installed).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef STAGE
  !error "STAGE is not defined"
!endif
!ifndef LICENCE_PAGE
  !define LICENCE_PAGE "${STAGE}\LICENSE.txt"
!endif
!ifndef OUTFILE
  !define OUTFILE "K52CFG-${VERSION}-setup.exe"
!endif

!define PRODUCT "K52CFG"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\K52CFG"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\K52CFG"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "2026 the K52CFG developers (MIT licence)"

!include "MUI2.nsh"
!define MUI_ICON "${STAGE}\k52cfg.ico"
!define MUI_UNICON "${STAGE}\k52cfg.ico"
!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_FINISHPAGE_RUN "$INSTDIR\k52cfg.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE_PAGE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SHORTCUT_PROMPT ${LANG_ENGLISH} "k52ctl (command prompt)"
LangString SHORTCUT_PROMPT ${LANG_JAPANESE} "k52ctl (コマンド プロンプト)"
LangString SHORTCUT_LICENSES ${LANG_ENGLISH} "Licences"
LangString SHORTCUT_LICENSES ${LANG_JAPANESE} "ライセンス"
LangString SHORTCUT_UNINSTALL ${LANG_ENGLISH} "Uninstall K52CFG"
LangString SHORTCUT_UNINSTALL ${LANG_JAPANESE} "K52CFG のアンインストール"
LangString PROMPT_NOTE ${LANG_ENGLISH} "k52ctl: the command-line companion of K52CFG. Try: k52ctl ports"
LangString PROMPT_NOTE ${LANG_JAPANESE} "k52ctl: K52CFG のコマンドライン版です。例: k52ctl ports"

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "K52CFG" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\k52cfg.exe"
  File "${STAGE}\k52ctl.exe"
  File "${STAGE}\English.lng"
  File "${STAGE}\Japanese.lng"
  File "${STAGE}\k52cfg.ico"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\THIRD-PARTY.txt"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\translations"
  File "${STAGE}\translations\*.qm"
  SetOutPath "$INSTDIR\licenses"
  File "${STAGE}\licenses\*.txt"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Start menu entries for this user only.
  SetShellVarContext current
  CreateDirectory "$SMPROGRAMS\K52CFG"
  CreateShortcut "$SMPROGRAMS\K52CFG\K52CFG.lnk" "$INSTDIR\k52cfg.exe" "" "$INSTDIR\k52cfg.ico"
  CreateShortcut "$SMPROGRAMS\K52CFG\$(SHORTCUT_PROMPT).lnk" "$SYSDIR\cmd.exe" \
    '/k "cd /d "$INSTDIR" && echo $(PROMPT_NOTE)"' "$SYSDIR\cmd.exe"
  CreateShortcut "$SMPROGRAMS\K52CFG\$(SHORTCUT_LICENSES).lnk" "$INSTDIR\THIRD-PARTY.txt"
  CreateShortcut "$SMPROGRAMS\K52CFG\$(SHORTCUT_UNINSTALL).lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the K52CFG developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\k52cfg.ico"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there, by name: the settings (in the
; user's application-data folder) and the user's files are not touched, and
; a folder the user added files to stays with those files.
Section "Uninstall"
  Delete "$INSTDIR\k52cfg.exe"
  Delete "$INSTDIR\k52ctl.exe"
  Delete "$INSTDIR\English.lng"
  Delete "$INSTDIR\Japanese.lng"
  Delete "$INSTDIR\k52cfg.ico"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\translations\*.qm"
  RMDir "$INSTDIR\translations"
  Delete "$INSTDIR\licenses\*.txt"
  RMDir "$INSTDIR\licenses"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\K52CFG\*.lnk"
  RMDir "$SMPROGRAMS\K52CFG"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
