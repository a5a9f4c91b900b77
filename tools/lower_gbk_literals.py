#!/usr/bin/env python3
"""Rewrites the Chinese text of plain string literals as GBK byte escapes.

The core's song text is GBK, and GCC compiles its readable literals to GBK
with -fexec-charset=GBK. Clang has no such option, so a clang build (the
fuzzing build) compiles copies of the sources in which every non-ASCII
character of a plain "..." literal is spelled as \\xNN escapes of its GBK
bytes, which is exactly what GCC makes of it. Comments and u8/u/U/L literals
are left alone.

    lower_gbk_literals.py IN OUT
"""
import os
import sys

HEX = set("0123456789abcdefABCDEF")


def lower(src: str) -> str:
    out = []
    i, n = 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith("//", i):
            j = src.find("\n", i)
            j = n if j < 0 else j
            out.append(src[i:j])
            i = j
        elif src.startswith("/*", i):
            j = src.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(src[i:j])
            i = j
        elif c == "'":
            j = i + 1
            while j < n and src[j] != "'":
                j += 2 if src[j] == "\\" else 1
            literal = src[i:j + 1]
            if any(ord(ch) > 127 for ch in literal):
                raise SystemExit("non-ASCII character literal: " + literal)
            out.append(literal)
            i = j + 1
        elif c == '"':
            k = i
            while k > 0 and (src[k - 1].isalnum() or src[k - 1] == "_"):
                k -= 1
            prefix = src[k:i]
            if prefix.endswith("R"):
                raise SystemExit("raw string literals are not lowered")
            plain = prefix not in ("u8", "u", "U", "L")
            j = i + 1
            body = []
            while src[j] != '"':
                if src[j] == "\\":
                    body.append(src[j:j + 2])
                    j += 2
                    continue
                ch = src[j]
                if plain and ord(ch) > 127:
                    escaped = "".join("\\x%02X" % b for b in ch.encode("gbk"))
                    body.append(escaped)
                    # A hex digit right after an escape would join it.
                    if j + 1 < n and src[j + 1] in HEX:
                        body.append('""')
                else:
                    body.append(ch)
                j += 1
            out.append('"' + "".join(body) + '"')
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main() -> None:
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write(lower(text))


if __name__ == "__main__":
    main()
