#!/usr/bin/env bash
# check_exe.sh <DocRecover.exe> <objdump>: the program asks for elevation, declares Windows 7 as
# its floor, names itself in a version resource, and imports only DLLs that Windows always takes
# from System32 (so no DLL beside it can stand in for one while it runs elevated). As it ships: run
# from swap off a disc, aware of Terminal Server, with no debug sections and a right checksum
# (osslsigncode computes it on its own, and prints two values when they differ).
set -uo pipefail
exe=$1
headers=$("$2" -p "$exe")
fail=0
check() { "${@:2}" >/dev/null || { echo "FAIL: $1"; fail=1; }; }

check "manifest asks for elevation" grep -a 'level="requireAdministrator"' "$exe"
check "subsystem version 6.1" grep -Eq 'MajorSubsystemVersion[[:space:]]+6' <<<"$headers"
check "subsystem version 6.1" grep -Eq 'MinorSubsystemVersion[[:space:]]+1$' <<<"$headers"
check "run from swap off a disc or a network" test "$(grep -c 'copy to swap file if on' <<<"$headers")" = 2
check "Terminal Server aware" grep -q TERMINAL_SERVICE_AWARE <<<"$headers"
check "no debug sections" test -z "$("$2" -h "$exe" | grep -F .debug)"
sums=$(osslsigncode verify -in "$exe" 2>&1 | sed -n 's/.*PE checksum *: *\([0-9A-F]*\).*/\1/p' | sort -u)
check "checksum" test "$sums" = "$(awk '$1 == "CheckSum" { print toupper($2) }' <<<"$headers")"
strings=$(strings -el "$exe")
for field in CompanyName FileDescription LegalCopyright ProductName ProductVersion; do
  check "version resource: $field" grep -qx "$field" <<<"$strings"
done
known='^(advapi32|comdlg32|gdi32|kernel32|ole32|oleaut32|shell32|user32|msvcrt|ntdll|shlwapi)\.dll$'
while read -r dll; do
  grep -Eqi "$known" <<<"$dll" || { echo "FAIL: imports $dll, which is not a known DLL"; fail=1; }
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
exit $fail
