#!/usr/bin/env bash
# Checks built camera module files with objdump: each exports exactly the
# four entries of an in-process COM server and imports only DLLs that every
# Windows installation has (no MinGW runtime DLLs: the modules load into
# other programs). Prints each file's size and imports.
#
#   module_check.sh OBJDUMP MODULE.dll...
set -uo pipefail
objdump=$1
shift
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer"
system_dlls=" advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll user32.dll gdi32.dll "
status=0
for module in "$@"; do
  dump=$("$objdump" -p "$module") || { echo "FAILED: $module: objdump" >&2; status=1; continue; }
  # Export names are the rows "[   n] Name" of the name pointer table.
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
    sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([A-Za-z_]*\)$/\1/p' | sort | tr '\n' ' ' | sed 's/ $//')
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
  [ "$exports" = "$expected" ] || { echo "FAILED: $module exports '$exports', not '$expected'" >&2; status=1; }
  for dll in $imports; do
    [[ "$system_dlls" == *" $dll "* ]] || { echo "FAILED: $module imports $dll" >&2; status=1; }
  done
  echo "$(basename "$module"): $(stat -c %s "$module") bytes, imports: $imports"
done
exit $status
