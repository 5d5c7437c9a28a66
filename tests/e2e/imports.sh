#!/bin/bash
# The programs run on Windows 95: each imports only from the system's own
# DLLs that it is meant to use, only functions listed in
# tests/imports/win95-allowlist.txt, and asks for subsystem version 4.0.
set -u
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}"
allow="$SOURCE_DIR/tests/imports/win95-allowlist.txt"
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

fail() { echo "FAIL: $*" >&2; exit 1; }

# "DLL Function" for every allowed function, DLL names upper case.
allowed=$(awk '
    { sub(/#.*/, "") }
    /^\[/ { dll = toupper(substr($1, 2, length($1) - 2)); next }
    { for (i = 1; i <= NF; i++) print dll, $i }' "$allow" | sort -u)

# "DLL Function" for every import of a program ("DLL #n" for one by ordinal).
imports() {
    "$objdump" -p "$1" | awk '
        /^The Import Tables/ { on = 1; next }
        on && /^(The |PE File)/ { on = 0 }
        on && /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
        on && dll != "" && /^\t[0-9a-f]+\t/ {
            if (NF >= 3 && $3 != "<none>") print dll, $3; else print dll, "#" $2
        }' | sort -u
}

# The DLLs each program may import from.
dlls_of() {
    case $1 in
        quillon95.exe) echo "ADVAPI32 COMCTL32 COMDLG32 GDI32 KERNEL32 USER32" ;;
        setup.exe) echo "ADVAPI32 KERNEL32 USER32" ;;
    esac
}

# What a program must not import although Windows 95 has it. The editor
# opens files only as its own handle is opened, in compatibility mode
# (document/document.cpp): Windows 95 refuses a CreateFile of a file that the
# process holds in that mode.
never_of() {
    case $1 in
        quillon95.exe) echo "KERNEL32 CreateFileA" ;;
    esac
}

status=0
checked=0
for exe in "$BUILD_DIR/quillon95.exe" "$BUILD_DIR/setup.exe"; do
    [ -f "$exe" ] || continue
    name=$(basename "$exe")
    list=$(imports "$exe")
    count=$(printf '%s\n' "$list" | grep -c .)
    [ "$count" -gt 10 ] || fail "$name: could not read its import table"
    others=$(comm -23 <(printf '%s\n' "$list" | awk '{print $1}' | sort -u) \
                      <(dlls_of "$name" | tr ' ' '\n' | sort))
    if [ -n "$others" ]; then
        echo "$name imports from DLLs it must not need:" $others
        status=1
    fi
    banned=$(comm -12 <(printf '%s\n' "$list") <(never_of "$name" | sort))
    if [ -n "$banned" ]; then
        echo "$name imports what it must not use:" $banned
        status=1
    fi
    missing=$(comm -23 <(printf '%s\n' "$list") <(printf '%s\n' "$allowed"))
    if [ -n "$missing" ]; then
        echo "$name imports functions that Windows 95 does not provide:"
        printf '%s\n' "$missing" | sed 's/^/  /'
        status=1
    fi
    version=$("$objdump" -p "$exe" | awk '/^MajorSubsystemVersion/ { a = $2 } /^MinorSubsystemVersion/ { b = $2 } END { print a "." b }')
    [ "$version" = "4.0" ] || { echo "$name: subsystem version $version, Windows 95 needs 4.0"; status=1; }
    echo "$name: $count imports checked"
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "no program in $BUILD_DIR"
[ $status = 0 ] || fail "see above"
echo PASS
