#!/usr/bin/env bash
# The DLLs Installer.exe names in its import table are all KnownDLLs: Windows takes those from
# the system folder whatever lies beside the program. Any other DLL would be searched for in the
# program's folder first, which for an elevated installer started from a downloads folder means
# running whatever was planted there; such DLLs are loaded from the system folder explicitly
# (framework/AfxSystemImports.S). Fails naming every DLL outside the list.
#   tests/installer/import-table.sh BUILD_DIR
set -euo pipefail
exe="${1:?build folder}/bin/Installer.exe"

# KnownDLLs on every Windows the installer supports (7 and later).
allowed="advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 psapi rpcrt4 setupapi
shell32 shlwapi user32 ws2_32"

imports=$(i686-w64-mingw32-objdump -p "$exe" |
  sed -n 's/^[[:space:]]*DLL Name: *\(.*\)\.[dD][lL][lL][[:space:]]*$/\1/p' | tr 'A-Z' 'a-z' | sort -u)
if [ -z "$imports" ]; then
  echo "FAILED: no import table read from $exe" >&2
  exit 1
fi
bad=0
for dll in $imports; do
  if printf '%s\n' $allowed | grep -qx "$dll"; then
    echo "ok: $dll.dll"
  else
    echo "FAILED: $exe imports $dll.dll, which is not a KnownDLL" >&2
    bad=1
  fi
done
exit $bad
