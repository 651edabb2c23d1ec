#!/bin/sh
# Fails when a file outside src/win32/ includes a Windows header: the portable core
# reaches the platform only through src/platform/.
root=${1:-.}
cd "$root" || exit 2
hits=$(grep -rlE '#[[:space:]]*include[[:space:]]*[<"](windows|winuser|wingdi|winbase|mmsystem|ddraw|dsound|shellapi|shlobj|commctrl|commdlg|objbase|winreg)\.h[>"]' src tools tests bench 2>/dev/null | grep -v '^src/win32/')
if [ -n "$hits" ]; then
  echo "Windows headers outside src/win32/:"
  echo "$hits"
  exit 1
fi
echo "no Windows header outside src/win32/"
