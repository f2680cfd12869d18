; The per-user installer of Morvel, made by scripts/package.sh with makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=3.24 -DVIVERSION=3.24.0.0 -DARCH=x64
;            -DPUBLISHER="..." -DSTAGE=<the package's files> -DSRCDIR=<repository>
;            -DOUTFILE=<setup.exe> installer/morvel.nsi
; STAGE holds what the release zip holds (the build's install rules put it there).
;
; It needs no administrator: the program goes to %LOCALAPPDATA%\Programs\Morvel, the
; shortcut to the user's Start menu, and everything it registers under HKEY_CURRENT_USER.
; Installing over an earlier version ends a running search bar first and keeps vantu.ini
; and the user's engine files; the bundled 標準.sef and its companion 標準.sef.txt (the
; keywords) are replaced, together, only when both are still the copies that the previous
; installation put there (a companion may also be missing): each installation keeps those
; copies in setup\ and compares them with the files in use byte for byte.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define PRODUCT "Morvel"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define DEFAULT_SEF "標準.sef"
!define DEFAULT_COMPANION "標準.sef.txt"
!define START_TEXT "Windows の起動時に Morvel を起動する"
!define IDM_EXIT 40001
!define IDC_KEYWORD 1001

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Morvel"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"

VIProductVersion "${VIVERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SRCDIR}/ui/common/art/morvel.ico"
!define MUI_UNICON "${SRCDIR}/ui/common/art/morvel.ico"
!define MUI_ABORTWARNING

Var StartWithWindows ; 1: the Run value is written
Var StartBox
Var KeepUserFiles ; 1: the uninstaller leaves the settings and engine files
Var KeepBox

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom StartPage StartPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\vantu.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.KeepPage un.KeepPageLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; ---- shared by the installer and the uninstaller -------------------------------------------

; Ends a running search bar as its tray menu's 終了 does, so that it writes its settings, and
; waits for its process to end: the program holds the mutex "vantux" for its whole life. The
; bar is the dialog titled "Morvel" that has the keyword box (its message boxes have the same
; class and caption). Aborts when it does not end and the user gives up.
!macro DEFINE_CLOSE_BAR UN
Function ${UN}CloseRunningBar
  Push $0
  Push $1
  Push $2
  retry:
    StrCpy $0 0
    ${Do}
      FindWindow $0 "#32770" "${PRODUCT}" "" $0
      ${If} $0 = 0
        ${Break}
      ${EndIf}
      GetDlgItem $1 $0 ${IDC_KEYWORD}
      ${If} $1 <> 0
        DetailPrint "実行中の ${PRODUCT} を終了します"
        SendMessage $0 ${WM_COMMAND} ${IDM_EXIT} 0 /TIMEOUT=10000
      ${EndIf}
    ${Loop}
    ${For} $2 1 100
      System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "vantux") p .r1'
      ${If} $1 P= 0
        ${Break}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r1)'
      Sleep 100
    ${Next}
    ${If} $1 P<> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} を終了できませんでした。${PRODUCT} の開いているウィンドウを閉じてから「再試行」を押してください。" \
        /SD IDCANCEL IDRETRY retry
      Abort
    ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_BAR ""
!insertmacro DEFINE_CLOSE_BAR "un."

; Pushes 1 when the two files exist and hold the same bytes, else 0. Usage:
;   Push a; Push b; Call FilesEqual; Pop result
!macro DEFINE_FILES_EQUAL UN
Function ${UN}FilesEqual
  Exch $1
  Exch
  Exch $0
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $6 0
  ClearErrors
  FileOpen $2 $0 r
  ${IfNot} ${Errors}
    FileOpen $3 $1 r
    ${IfNot} ${Errors}
      FileSeek $2 0 END $4
      FileSeek $3 0 END $5
      ${If} $4 = $5
        FileSeek $2 0 SET
        FileSeek $3 0 SET
        StrCpy $6 1
        ${Do}
          ClearErrors
          FileReadByte $2 $4
          ${If} ${Errors}
            ${Break}
          ${EndIf}
          FileReadByte $3 $5
          ${If} $4 <> $5
            StrCpy $6 0
            ${Break}
          ${EndIf}
        ${Loop}
      ${EndIf}
      FileClose $3
    ${EndIf}
    FileClose $2
  ${EndIf}
  StrCpy $0 $6
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro DEFINE_FILES_EQUAL ""
!insertmacro DEFINE_FILES_EQUAL "un."

; Pushes 1 when the file is missing or holds the same bytes as the reference, else 0. Usage:
;   Push file; Push reference; Call SameOrMissing; Pop result
!macro DEFINE_SAME_OR_MISSING UN
Function ${UN}SameOrMissing
  Exch $1
  Exch
  Exch $0
  ${If} ${FileExists} $0
    Push $0
    Push $1
    Call ${UN}FilesEqual
    Pop $0
  ${Else}
    StrCpy $0 1
  ${EndIf}
  Exch $0
  Exch
  Pop $1
FunctionEnd
!macroend
!insertmacro DEFINE_SAME_OR_MISSING ""
!insertmacro DEFINE_SAME_OR_MISSING "un."

; ---- installer -----------------------------------------------------------------------------

; The start-with-Windows choice starts as the program's own check box shows it: ticked when
; the Run value exists and Windows' startup list has not switched it off (an odd first byte
; of the StartupApproved value).
Function .onInit
  StrCpy $StartWithWindows 0
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 != ""
    StrCpy $StartWithWindows 1
    System::Call '*(l 0, l 0) p .r1'
    System::Call 'advapi32::RegGetValueW(p 0x80000001, w "${APPROVED_KEY}", w "${PRODUCT}", \
                  i 0x08, p 0, p r1, *i 16) i .r0'
    ${If} $0 = 0
      System::Call '*$1(&i1 .r2)'
      IntOp $2 $2 & 1
      ${If} $2 = 1
        StrCpy $StartWithWindows 0
      ${EndIf}
    ${EndIf}
    System::Free $1
  ${EndIf}
FunctionEnd

Function StartPage
  !insertmacro MUI_HEADER_TEXT "起動のしかた" "${PRODUCT} をいつ起動するかを選んでください。"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "${START_TEXT}"
  Pop $StartBox
  ${If} $StartWithWindows = 1
    ${NSD_Check} $StartBox
  ${EndIf}
  ${NSD_CreateLabel} 0 20u 100% 40u "オンにすると、ログオンするたびに ${PRODUCT} が検索バーを出さずに起動し、呼び出しキーやタスクトレイからすぐ使えます。あとから ${PRODUCT} の「設定」の「全般」でも変えられます。"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function StartPageLeave
  ${NSD_GetState} $StartBox $StartWithWindows
FunctionEnd

Section "-Morvel"
  Call CloseRunningBar
  SetOutPath "$INSTDIR"
  File "${STAGE}/vantu.exe"
  File "${STAGE}/Pelka.dll"
  File "${STAGE}/morvel-host.exe"
  File "${STAGE}/readme.txt"
  ; The extension (for Chrome and Edge, and for Firefox) as this version ships it, without
  ; the files an earlier one had.
  RMDir /r "$INSTDIR\browser\extension"
  RMDir /r "$INSTDIR\browser\firefox"
  SetOutPath "$INSTDIR\browser"
  File /r "${STAGE}/browser/extension"
  File /r "${STAGE}/browser/firefox"
  SetOutPath "$INSTDIR"

  ; The bundled engine file and its companion: put in place when there is no engine file, or
  ; when both are the copies the previous installation left (the user has changed neither
  ; the engines nor their keywords; a version before keywords left no companion).
  InitPluginsDir
  File "/oname=$PLUGINSDIR\bundled.sef" "${STAGE}/${DEFAULT_SEF}"
  File "/oname=$PLUGINSDIR\bundled.sef.txt" "${STAGE}/${DEFAULT_COMPANION}"
  StrCpy $0 1
  ${If} ${FileExists} "$INSTDIR\${DEFAULT_SEF}"
    Push "$INSTDIR\${DEFAULT_SEF}"
    Push "$INSTDIR\setup\${DEFAULT_SEF}"
    Call FilesEqual
    Pop $0
  ${EndIf}
  ${If} $0 = 1
    Push "$INSTDIR\${DEFAULT_COMPANION}"
    Push "$INSTDIR\setup\${DEFAULT_COMPANION}"
    Call SameOrMissing
    Pop $0
  ${EndIf}
  ${If} $0 = 1
    CopyFiles /SILENT "$PLUGINSDIR\bundled.sef" "$INSTDIR\${DEFAULT_SEF}"
    CopyFiles /SILENT "$PLUGINSDIR\bundled.sef.txt" "$INSTDIR\${DEFAULT_COMPANION}"
  ${Else}
    DetailPrint "書き換えられた ${DEFAULT_SEF} とそのキーワードはそのまま残します"
  ${EndIf}
  CreateDirectory "$INSTDIR\setup"
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_SEF}" NORMAL
  CopyFiles /SILENT "$PLUGINSDIR\bundled.sef" "$INSTDIR\setup\${DEFAULT_SEF}"
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_SEF}" READONLY
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_COMPANION}" NORMAL
  CopyFiles /SILENT "$PLUGINSDIR\bundled.sef.txt" "$INSTDIR\setup\${DEFAULT_COMPANION}"
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_COMPANION}" READONLY
  SetFileAttributes "$INSTDIR\setup" HIDDEN

  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\vantu.exe" "" "$INSTDIR\vantu.exe" 0

  ; As the program's 全般 page does it: the value, and Windows' own switch for it cleared.
  ${If} $StartWithWindows = 1
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\vantu.exe" /tray'
  ${Else}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  DeleteRegValue HKCU "${APPROVED_KEY}" "${PRODUCT}"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\vantu.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; ---- uninstaller ---------------------------------------------------------------------------

Function un.onInit
  StrCpy $KeepUserFiles 1
FunctionEnd

Function un.KeepPage
  !insertmacro MUI_HEADER_TEXT "設定とエンジンファイル" "残すかどうかを選んでください。"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "設定とエンジンファイルを残す"
  Pop $KeepBox
  ${If} $KeepUserFiles = 1
    ${NSD_Check} $KeepBox
  ${EndIf}
  ${NSD_CreateLabel} 0 20u 100% 48u "残すのは、設定と検索履歴（vantu.ini）と、自分で作ったり書き換えたりしたエンジンファイル（*.sef）です。もう一度インストールすると、そのまま使えます。$\r$\n$\r$\nフォルダー: $INSTDIR"
  Pop $0
  nsDialogs::Show
FunctionEnd

Function un.KeepPageLeave
  ${NSD_GetState} $KeepBox $KeepUserFiles
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningBar
  ; What the program registered for this user (the browser host, the IE context menu,
  ; Pelka.dll's registration, the Run value) it removes itself.
  ${If} ${FileExists} "$INSTDIR\vantu.exe"
    DetailPrint "${PRODUCT} の登録を解除します"
    ExecWait '"$INSTDIR\vantu.exe" /unregister' $0
    ${If} $0 <> 0
      DetailPrint "登録の解除が終了コード $0 で終わりました"
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\vantu.exe"
  Delete "$INSTDIR\Pelka.dll"
  Delete "$INSTDIR\morvel-host.exe"
  Delete "$INSTDIR\readme.txt"
  RMDir /r "$INSTDIR\browser\extension"
  RMDir /r "$INSTDIR\browser\firefox"
  RMDir "$INSTDIR\browser"
  ; The bundled engine file and its companion count as the user's, together, when either
  ; has been changed.
  StrCpy $0 1
  ${If} $KeepUserFiles = 1
    Push "$INSTDIR\${DEFAULT_SEF}"
    Push "$INSTDIR\setup\${DEFAULT_SEF}"
    Call un.FilesEqual
    Pop $0
    ${If} $0 = 1
      Push "$INSTDIR\${DEFAULT_COMPANION}"
      Push "$INSTDIR\setup\${DEFAULT_COMPANION}"
      Call un.SameOrMissing
      Pop $0
    ${EndIf}
  ${EndIf}
  ${If} $0 = 1
    Delete "$INSTDIR\${DEFAULT_SEF}"
    Delete "$INSTDIR\${DEFAULT_COMPANION}"
  ${EndIf}
  ${If} $KeepUserFiles <> 1
    Delete "$INSTDIR\vantu.ini"
    Delete "$INSTDIR\*.sef"
    Delete "$INSTDIR\*.sef.txt"
  ${EndIf}
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_SEF}" NORMAL
  Delete "$INSTDIR\setup\${DEFAULT_SEF}"
  SetFileAttributes "$INSTDIR\setup\${DEFAULT_COMPANION}" NORMAL
  Delete "$INSTDIR\setup\${DEFAULT_COMPANION}"
  RMDir "$INSTDIR\setup"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegValue HKCU "${APPROVED_KEY}" "${PRODUCT}"
  ; Last: its absence tells that the uninstallation has ended.
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
