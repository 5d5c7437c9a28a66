#!/bin/bash
# The shipped programs run on Windows 95: each imports only from the
# system's own DLLs that it is meant to use, only functions listed in
# tests/imports/win95-allowlist.txt, asks for subsystem version 4.0, and
# holds only instructions that the 386 has, libgcc's helpers included.
# And on Windows Vista and later as the user who started them: each
# carries a manifest (resource type 24, id 1) asking for asInvoker. The
# zip holds the four shipped files. Whatever the tree that runs this, these
# are the i686 files of dist/, the ones that ship.
set -u
: "${SOURCE_DIR:?}"
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

# The 386's integer instructions as objdump names them, before a size letter
# (none for nop: nopw and nopl are the Pentium Pro's long NOP). There is no
# floating point, so a 386 without a coprocessor runs the programs too.
# Conditional jumps and sets take exactly the 386's condition codes.
cc='o|no|b|ae|e|ne|be|a|s|ns|p|np|l|ge|le|g'
i386="aaa|aad|aam|aas|adc|add|and|bound|bsf|bsr|bt|btc|btr|bts|call|cbtw|cwtl|cwtd|cltd|clc|cld|cli|cmc|cmp|cmps|daa|das|dec|div|enter|hlt|idiv|imul|in|inc|ins|int|int3|into|iret|j($cc)|jmp|jcxz|jecxz|lahf|lcall|lds|lea|leave|les|lfs|lgs|ljmp|lods|loop|loope|loopne|lret|lss|mov|movs|movsb[wl]|movswl|movzb[wl]|movzwl|mul|neg|not|or|out|outs|pop|popa|popf|push|pusha|pushf|rcl|rcr|ret|rol|ror|sahf|sal|sar|sbb|scas|set($cc)|shl|shld|shr|shrd|stc|std|sti|stos|sub|test|fwait|xchg|xlat|xor"
# A line for each kind of instruction that is not the 386's. Prefixes are
# passed over. "(bad)" is passed over only in the padding that ends a
# section: the run of 00 and ff bytes after its last instruction (the empty
# constructor lists that end .text).
newer_than_386() {
    "$objdump" -d "$1" | awk -F'\t' -v ok="^($i386)[bwl]?$|^nop$" '
        function check(   i, end) {
            for (end = n; end > 0 && bytes[end] ~ /^((00|ff) +)+$/; end--) ;
            for (i = 1; i <= n; i++)
                if (op[i] != "" && (op[i] == "(bad)" ? i <= end : op[i] !~ ok)) print "  " op[i] " at " at[i]
            n = 0
        }
        /^Disassembly of section/ { check() }
        /^ +[0-9a-f]+:\t/ {
            n++; at[n] = $1; sub(/^ +/, "", at[n]); bytes[n] = $2; op[n] = ""
            if (NF < 3) next
            k = split($3, w, " "); j = 1
            while (j < k && w[j] ~ /^(rep[a-z]*|lock|data16|addr16|[c-gs]s)$/) j++
            op[n] = w[j]
        }
        END { check() }' | sort -k1,1 -u
}

# The text of a program's manifest: the data of its resource of type 24,
# id 1, found through the resource directory and read from the file.
manifest() {
    local leaf base vma fileoff
    leaf=$("$objdump" -p "$1" | awk '
        /^[0-9a-f]+   Entry: / { type = $4 }
        /^[0-9a-f]+     Entry: / { id = $4 }
        /^[0-9a-f]+ +Leaf: Addr: / && type == "0x000018," && id == "0x000001," { print $4, $6; exit }' | tr -d ,)
    [ -n "$leaf" ] || return 0
    set -- "$1" $leaf
    base=$("$objdump" -p "$1" | awk '/^ImageBase/ { print $2 }')
    read -r vma fileoff < <("$objdump" -h "$1" | awk '$2 == ".rsrc" { print $4, $6 }')
    tail -c +$(( $2 - 0x$vma + 0x$base + 0x$fileoff + 1 )) "$1" | head -c $(( $3 ))
}

# The DLLs each program may import from.
dlls_of() {
    case $1 in
        quillon95.exe) echo "ADVAPI32 COMCTL32 COMDLG32 GDI32 KERNEL32 USER32" ;;
        setup.exe) echo "ADVAPI32 KERNEL32 USER32" ;;
    esac
}

status=0
checked=0
for exe in "$SOURCE_DIR/dist/quillon95.exe" "$SOURCE_DIR/dist/setup.exe"; do
    [ -f "$exe" ] || fail "$exe is missing (make dist)"
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
    missing=$(comm -23 <(printf '%s\n' "$list") <(printf '%s\n' "$allowed"))
    if [ -n "$missing" ]; then
        echo "$name imports functions that Windows 95 does not provide:"
        printf '%s\n' "$missing" | sed 's/^/  /'
        status=1
    fi
    version=$("$objdump" -p "$exe" | awk '/^MajorSubsystemVersion/ { a = $2 } /^MinorSubsystemVersion/ { b = $2 } END { print a "." b }')
    [ "$version" = "4.0" ] || { echo "$name: subsystem version $version, Windows 95 needs 4.0"; status=1; }
    case $(manifest "$exe") in
        *Common-Controls*) echo "$name: its manifest asks for the controls of COMCTL32 version 6"; status=1 ;;
        *'<requestedExecutionLevel level="asInvoker"'*) ;;
        *) echo "$name: no manifest asking for asInvoker"; status=1 ;;
    esac
    newer=$(newer_than_386 "$exe")
    [ -z "$newer" ] || { printf '%s holds instructions the 386 does not have:\n%s\n' "$name" "$newer"; status=1; }
    echo "$name: $count imports checked"
    checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "no program in $BUILD_DIR"

# The zip holds the four shipped files as they are in dist/.
zip="$SOURCE_DIR/dist/quillon95.zip"
names=$(unzip -Z1 "$zip" 2>/dev/null | sort | tr '\n' ' ')
[ "$names" = "quillon95.exe quillon95.hlp quillon95.txt setup.exe " ] || fail "the zip holds: $names"
for f in $names; do
    unzip -p "$zip" "$f" | cmp -s - "$SOURCE_DIR/dist/$f" || fail "$f in the zip is not dist/$f"
done
[ $status = 0 ] || fail "see above"
echo PASS
