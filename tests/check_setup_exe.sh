#!/usr/bin/env bash
# Checks the shape of the shipped setup.exe: a 32-bit Windows GUI program that imports system
# DLLs only.
set -u
exe=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
fail=0
headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }

grep -q 'file format pei-i386' <<<"$headers" || { echo "not a 32-bit (i386) PE file"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]+\(Windows GUI\)' <<<"$headers" || { echo "not a GUI-subsystem program"; fail=1; }

allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|COMDLG32|msvcrt)\.dll$'
while read -r dll; do
    if ! grep -Eiq "$allowed" <<<"$dll"; then
        echo "imports a DLL that is not a system DLL: $dll"
        fail=1
    fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

# The program's only export is the completion watch's thread function, by its plain name.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p')
if [[ $exports != "fnWorkerThread" ]]; then
    echo "exports must be exactly fnWorkerThread, found: ${exports:-none}"
    fail=1
fi

# Small enough for any medium: under 100 KB.
size=$(stat -c %s "$exe")
if ((size >= 100 * 1024)); then
    echo "setup.exe is $size bytes, over 100 KB"
    fail=1
fi

if ((fail == 0)); then
    echo "setup.exe: $size bytes"
    echo "setup.exe: PE32 GUI, imports: $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
fi
exit $fail
