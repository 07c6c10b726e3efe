#!/usr/bin/env bash
# Checks a Windows release archive: check_pe.sh ARCHIVE.zip. Both programs are
# GUI executables of the archive's target (PE32 for x86, PE32+ for x64) that
# import only SDL.dll and Windows' own DLLs (the C and C++ runtimes and
# winpthread are linked in); SDL.dll is there. Prints what file and objdump say.
set -u
archive=$1
case "$archive" in
  *-windows-x86.zip) format='PE32 executable (GUI) Intel 80386'; objdump=i686-w64-mingw32-objdump ;;
  *-windows-x64.zip) format='PE32+ executable (GUI) x86-64'; objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "FAIL: not a Windows release archive: $archive"; exit 1 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$archive" -d "$work" || { echo "FAIL: cannot unpack $archive"; exit 1; }
failures=0
for program in "$work"/*/zolt7707.exe "$work"/*/zolt7707-window.exe; do
  name=$(basename "$program")
  kind=$(file -b "$program")
  echo "$name: $kind"
  [[ "$kind" == "$format"* ]] || { echo "FAIL: $name is not a $format"; failures=$((failures + 1)); }
  dlls=$("$objdump" -p "$program" | awk '/DLL Name:/ { print $3 }' | sort -u | tr '\n' ' ')
  echo "$name imports: $dlls"
  for dll in $dlls; do
    shopt -s nocasematch
    [[ "$dll" =~ ^(SDL|KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|msvcrt|WINMM|ole32|OLEAUT32)\.dll$ ]] ||
      { echo "FAIL: $name imports $dll"; failures=$((failures + 1)); }
    shopt -u nocasematch
  done
  [[ " $dlls" == *" SDL.dll "* ]] || { echo "FAIL: $name does not import SDL.dll"; failures=$((failures + 1)); }
done
[ -f "$(echo "$work"/*/SDL.dll)" ] || { echo "FAIL: no SDL.dll in the archive"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "ok: $(basename "$archive")"
[ "$failures" -eq 0 ]
