#!/usr/bin/env python3
"""Differential fuzz of the version parse against an exact oracle.

The oracle (tools/version_text.py, which the vendor's release command uses
too) reads the grammar with a regular expression and computes the value with
Python's unbounded integers (divmod for the half-to-even rounding), so it
shares no code or method with the parse under test. It generates random and
structured texts, feeds them to the driver program (one "hex-text expected"
line each, "x" for invalid) and the driver reports every disagreement.

    version_oracle.py --driver build/native/tests/version_parse_driver --count 1000000
"""
import argparse
import os
import random
import re
import subprocess
import sys

sys.set_int_max_str_digits(0)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from version_text import MAX, MIN, version_value as oracle  # noqa: E402


def digits(r, n):
    return "".join(r.choice("0123456789") for _ in range(n))


def structured(r):
    count = lambda: r.choice([0, 0, 1, 1, 2, 3, 4, 5, 6, 8, 12, 16, 19, 20, 21, 25, 40])
    parts = [" " * r.choice([0, 0, 0, 1, 3])]
    parts.append(r.choice(["", "", "+", "-"]))
    parts.append("0" * r.choice([0, 0, 0, 1, 5, 30]))
    parts.append(digits(r, count()))
    if r.random() < 0.7:
        parts.append(".")
        parts.append(digits(r, count()))
        if r.random() < 0.3:
            parts.append(r.choice(["5", "50", "5000000", "49999", "50001", "5" + "0" * 40 + "1"]))
    if r.random() < 0.4:
        parts.append(r.choice("eE"))
        parts.append(r.choice(["", "", "+", "-"]))
        parts.append(r.choice([digits(r, r.choice([0, 1, 1, 2, 2, 3])), digits(r, 20), "9" * 25, "0" * 30 + "3"]))
    parts.append(" " * r.choice([0, 0, 0, 1, 2]))
    text = "".join(parts)
    if r.random() < 0.15:  # one corruption
        at = r.randrange(len(text) + 1)
        text = text[:at] + r.choice(["\t", "\0", ",", ".", "e", "-", "+", " ", "x", "\n", "\xe9", "5"]) + text[at:]
    return text.encode("latin-1")


def near_bounds(r):
    bound = r.choice([MAX, MIN, MAX - 1, MIN + 1, 10**18, -(10**18), 10**14 * 10000])
    whole, frac = divmod(abs(bound), 10000)
    tail = r.choice(["", "4", "5", "50", "5000001", "49999999", "6", "9" * 30])
    sign = "-" if bound < 0 else r.choice(["", "+"])
    return f"{sign}{whole}.{frac:04d}{tail}".encode()


def halves(r):
    whole = r.randrange(0, 10**r.randrange(1, 16))
    text = f"{r.choice(['', '-'])}{whole}.{r.randrange(10000):04d}5{r.choice(['', '0' * r.randrange(1, 30), '0' * 20 + '1'])}"
    if r.random() < 0.3:
        exp = r.randrange(-6, 6)
        text = f"{text}e{exp}"
    return text.encode()


def noise(r):
    return bytes(r.choice(b" +-.eE0123456789\t\0,x") for _ in range(r.randrange(0, 12)))


def long_run(r):
    n = r.choice([100, 1000, 10000, 100000])
    body = r.choice(["0" * n + "1.5", "1." + "0" * n + "5", "0." + "0" * n + "1e" + str(n + r.randrange(1, 8)),
                     "9" * n, "5e-" + "9" * n, "1e" + "0" * n + "3", " " * n + "2"])
    return body.encode()


GENERATORS = [(structured, 60), (near_bounds, 10), (halves, 15), (noise, 15)]


def cases(seed, count):
    r = random.Random(seed)
    kinds = [g for g, weight in GENERATORS for _ in range(weight)]
    for i in range(count):
        yield long_run(r) if i % 20000 == 0 else r.choice(kinds)(r)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--driver", required=True, help="the version_parse_driver program")
    parser.add_argument("--count", type=int, default=1_000_000)
    parser.add_argument("--seed", type=int, default=20261211)
    parser.add_argument("--emulator", default="", help="a program to run the driver with, e.g. wine")
    args = parser.parse_args()

    command = ([args.emulator] if args.emulator else []) + [args.driver]
    driver = subprocess.Popen(command, stdin=subprocess.PIPE)
    batch = []
    for text in cases(args.seed, args.count):
        expected = oracle(text)
        batch.append(f"{text.hex()} {'x' if expected is None else expected}\n")
        if len(batch) >= 10000:
            driver.stdin.write("".join(batch).encode())
            batch.clear()
    driver.stdin.write("".join(batch).encode())
    driver.stdin.close()
    return driver.wait()


if __name__ == "__main__":
    sys.exit(main())
