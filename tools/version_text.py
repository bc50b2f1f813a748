#!/usr/bin/env python3
"""Version texts as the updater reads and writes them, exactly.

A version is one decimal number held in ten-thousandths (1.0003 is 10003):
blanks around it, an optional sign, digits with an optional "." and more
digits, an optional exponent; rounded half to even to four decimals; within
the signed 64-bit range. The C++ parse is tested against version_value by the
differential fuzz (tests/fuzz/version_oracle.py).

    version_text.py TEXT     prints the stored form (four decimals), or exits 1
"""
import re
import sys

sys.set_int_max_str_digits(0)

MIN, MAX = -(2**63), 2**63 - 1
GRAMMAR = re.compile(rb" *([+-]?)([0-9]*)(\.([0-9]*))?([eE]([+-]?)([0-9]*))? *")


def version_value(text):
    """The value in ten-thousandths, or None for an invalid text (bytes or str)."""
    if isinstance(text, str):
        text = text.encode("latin-1", "replace")
    text = text.split(b"\0", 1)[0]
    m = GRAMMAR.fullmatch(text)
    if not m:
        return None
    sign, whole, separator, fraction, _, exp_sign, exp_digits = m.groups()
    fraction = fraction or b""
    if not whole and separator is None:
        return None
    mantissa = int(whole + fraction or b"0")
    if mantissa == 0:
        return 0
    exponent = int(exp_digits or b"0") * (-1 if exp_sign == b"-" else 1)
    scale = exponent - len(fraction) + 4
    digits = len(str(mantissa))
    if scale >= 0:
        if digits + scale > 21:
            return None
        value = mantissa * 10**scale
    elif digits + scale < -1:
        value = 0  # below 0.01 ten-thousandths
    else:
        divisor = 10**-scale
        value, rest = divmod(mantissa, divisor)
        if 2 * rest > divisor or (2 * rest == divisor and value % 2 == 1):
            value += 1
    if sign == b"-":
        value = -value
    return value if MIN <= value <= MAX else None


def stored_text(value):
    """The stored form of a value: always four decimals, as the updater writes VER."""
    sign = "-" if value < 0 else ""
    whole, fraction = divmod(abs(value), 10000)
    return f"{sign}{whole}.{fraction:04d}"


if __name__ == "__main__":
    value = version_value(sys.argv[1]) if len(sys.argv) == 2 else None
    if value is None:
        sys.exit(1)
    print(stored_text(value))
