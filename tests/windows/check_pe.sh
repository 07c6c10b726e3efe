#!/usr/bin/env bash
# Checks a Windows release archive: check_pe.sh ARCHIVE.zip. Both programs are
# GUI executables of the archive's target (PE32 for x86, PE32+ for x64) that
# import SDL.dll, SDL2.dll is beside it, and the import closure of the archive
# is whole: every .exe and .dll in it is of the archive's target and imports
# only Windows' own DLLs and the DLLs beside it (the C, C++ and GCC runtimes
# are linked in). Prints what file and objdump say.
set -u
archive=$1
case "$archive" in
  *-windows-x86.zip) format='PE32 executable'; cpu='Intel 80386'; objdump=i686-w64-mingw32-objdump ;;
  *-windows-x64.zip) format='PE32+ executable'; cpu='x86-64'; objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "FAIL: not a Windows release archive: $archive"; exit 1 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$archive" -d "$work" || { echo "FAIL: cannot unpack $archive"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
shopt -s nocasematch nocaseglob nullglob
binaries=("$work"/*/*.exe "$work"/*/*.dll)
# What the archive itself provides, as " a.dll b.dll ".
own=" "
for dll in "$work"/*/*.dll; do own+="$(basename "$dll") "; done
for program in zolt7707.exe zolt7707-window.exe; do
  [ -f "$(echo "$work"/*/"$program")" ] || fail "no $program in the archive"
done
# SDL.dll (sdl12-compat) loads SDL2.dll when it starts rather than importing it.
for dll in SDL.dll SDL2.dll; do
  [[ "$own" == *" $dll "* ]] || fail "no $dll in the archive"
done
for binary in "${binaries[@]}"; do
  name=$(basename "$binary")
  kind=$(file -b "$binary")
  echo "$name: $kind"
  case "$name" in
    *.exe) want="$format (GUI) $cpu" ;;
    *) want="$format (DLL) * $cpu" ;;
  esac
  # shellcheck disable=SC2053 # want is a pattern
  [[ "$kind" == $want* ]] || fail "$name is not a $want"
  dlls=$("$objdump" -p "$binary" | awk '/DLL Name:/ { print $3 }' | sort -u | tr '\n' ' ')
  echo "$name imports: $dlls"
  for dll in $dlls; do
    [[ "$dll" =~ ^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|msvcrt|WINMM|ole32|OLEAUT32|IMM32|VERSION)\.dll$ ]] ||
      [[ "$own" == *" $dll "* ]] || fail "$name imports $dll, which is neither Windows' own nor in the archive"
  done
  [[ "$name" != *.exe || " $dlls" == *" SDL.dll "* ]] || fail "$name does not import SDL.dll"
done
[ "$failures" -eq 0 ] && echo "ok: $(basename "$archive")"
[ "$failures" -eq 0 ]
