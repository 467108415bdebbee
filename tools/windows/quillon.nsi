; The Windows installer: per user, without administrator rights, into %LOCALAPPDATA%\Programs\Quillon, with a
; Start menu entry and an uninstaller listed under Apps. /S installs and uninstalls silently. Removing Quillon
; removes the programs, the Start menu entry and the file association the window made, and keeps the user's
; settings and library. makensis -DVERSION=... -DSTAGE=... -DOUTFILE=... -DICON=... quillon.nsi
Unicode true
Target amd64-unicode ; a 64-bit program, and one that runs where only 64-bit Windows programs do
SetCompressor /SOLID lzma
RequestExecutionLevel user
Icon "${ICON}"
UninstallIcon "${ICON}"
Name "Quillon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quillon"
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quillon"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\quillon.exe"
    File "${STAGE}\quillon-cli.exe"
    File "${STAGE}\README.txt"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\THIRD-PARTY-NOTICES.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Quillon"
    CreateShortcut "$SMPROGRAMS\Quillon\Quillon.lnk" "$INSTDIR\quillon.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillon"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Quillon developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\quillon.exe"
    Delete "$INSTDIR\quillon-cli.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Quillon\Quillon.lnk"
    RMDir "$SMPROGRAMS\Quillon"
    ; The association the window wrote: .w3g is let go only while it still names Quillon's class.
    ReadRegStr $0 HKCU "Software\Classes\.w3g" ""
    StrCmp $0 "Quillon" 0 +3
        DeleteRegValue HKCU "Software\Classes\.w3g" ""
        DeleteRegKey /ifempty HKCU "Software\Classes\.w3g"
    DeleteRegKey HKCU "Software\Classes\Quillon"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
