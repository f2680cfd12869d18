#!/usr/bin/env bash
# Checks that a linked vantu.exe or Pelka.dll stayed lean: its link map names no part of
# the C++ runtime but the nothrow tag (new_handler.o), no unwinder, no thread library and
# no printf engine; and it imports system DLLs only. On a failure it prints each unwanted
# archive member with the object and symbol that pulled it in.
# Usage: lean_runtime_check.sh MAP BINARY OBJDUMP
set -eu
map=$1 binary=$2 objdump=$3
[ -f "$map" ] && [ -f "$binary" ] || { echo "missing $map or $binary" >&2; exit 1; }

# "Archive member included to satisfy reference by file (symbol)": each member with the
# referring file and symbol, on its line or on the indented line after it.
members=$(awk '/^Archive member included/ { on = 1; next }
               /^(Discarded input sections|Allocating common symbols|Memory Configuration)/ { on = 0 }
               !on || NF == 0 { next }
               /^[^[:space:]]/ { if (line != "") print line; line = $0; next }
               { line = line " " $0 }
               END { if (line != "") print line }' "$map" | sed -E 's/[[:space:]]+/ /g')
unwanted=$(echo "$members" | grep -E 'libstdc\+\+\.a\(|libgcc_eh\.a\(|libwinpthread|libpthread\.a\(|mingw_pformat|mingw_vsn?printf' |
    grep -v 'libstdc++\.a(new_handler\.o)' || true)
status=0
if [ -n "$unwanted" ]; then
    echo "$(basename "$binary") links parts of the runtime it should not:"
    echo "$unwanted" | sed -E 's#[^ ]*/##g; s/^/  /'
    status=1
fi

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|advapi32|ole32|oleaut32|winhttp|imm32|msvcrt)\.dll$'
while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -qE "$allowed"; then
        echo "$(basename "$binary") imports $dll, which is no system DLL"
        status=1
    fi
done < <("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ $status = 0 ] && echo "$(basename "$binary"): no C++ runtime parts, system DLLs only"
exit $status
