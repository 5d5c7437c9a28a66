#!/bin/bash
# The shipped programs run on a 386: every instruction in them, the
# compiler's helpers from libgcc included, is one the 386 has. The list
# below allows the 386's integer instructions by the names the disassembler
# gives them; anything else fails, so a later flag, helper or compiler
# cannot bring in a newer one unnoticed (CMOVcc, the long NOP, BSWAP,
# CMPXCHG, XADD, CPUID, RDTSC, SYSENTER, UD2, MMX, SSE ...). The programs
# use no floating point, so a 386 without a coprocessor runs them too.
set -u
: "${SOURCE_DIR:?}"
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Mnemonics as the disassembler prints them, before an operand-size letter
# (b, w or l) where one may follow. nop takes none: nopw and nopl are the
# Pentium Pro's long NOP.
i386='aaa|aad|aam|aas|adc|add|and|arpl|bound|bsf|bsr|bt|btc|btr|bts|call|cbtw|cwtl|cwtd|cltd|clc|cld|cli|clts|cmc|cmp|cmps|daa|das|dec|div|enter|hlt|idiv|imul|in|inc|ins|int|int3|into|iret|j[a-z]+|lahf|lar|lcall|lds|lea|leave|les|lfs|lgdt|lgs|lidt|ljmp|lldt|lmsw|lods|loop|loope|loopne|lret|lsl|lss|ltr|mov|movs|movsb[wl]|movswl|movzb[wl]|movzwl|mul|neg|not|or|out|outs|pop|popa|popf|push|pusha|pushf|rcl|rcr|ret|rol|ror|sahf|sal|sar|sbb|scas|set[a-z]+|sgdt|shl|shld|shr|shrd|sidt|sldt|smsw|stc|std|sti|stos|str|sub|test|verr|verw|fwait|xchg|xlat|xor'
# Prefixes that objdump prints as words of their own.
prefixes='rep|repz|repnz|repe|repne|lock|data16|addr16|cs|ds|es|fs|gs|ss'

checked=0
for exe in "$SOURCE_DIR/dist/quillon95.exe" "$SOURCE_DIR/dist/setup.exe"; do
    [ -f "$exe" ] || fail "$exe is missing (make dist)"
    # Bytes objdump cannot decode as any instruction ("(bad)") are data:
    # the empty constructor lists that the linker puts at the end of .text.
    found=$("$objdump" -d --no-show-raw-insn "$exe" | awk -F'\t' -v ok="^($i386)[bwl]?$|^nop$" -v pre="^($prefixes)$" '
        /^ +[0-9a-f]+:\t/ {
            n = split($2, w, " ")
            k = 1
            while (k < n && w[k] ~ pre) k++
            m = w[k]
            if (m == "" || m == "(bad)") next
            total++
            if (m !~ ok) { bad[m]++; if (!(m in where)) { gsub(/ /, "", $1); where[m] = $1 } }
        }
        END {
            for (m in bad) printf "  %s: %d, the first at %s\n", m, bad[m], where[m]
            printf "total %d\n", total
        }')
    total=$(printf '%s\n' "$found" | awk '/^total/ {print $2}')
    [ "${total:-0}" -gt 1000 ] || fail "$(basename "$exe"): could not disassemble it"
    newer=$(printf '%s\n' "$found" | grep -v '^total')
    if [ -n "$newer" ]; then
        echo "$(basename "$exe") holds instructions the 386 does not have:"
        printf '%s\n' "$newer"
        status=1
    fi
    echo "$(basename "$exe"): $total instructions checked"
    checked=$((checked + 1))
done
[ "${status:-0}" = 0 ] || fail "see above"
echo PASS
