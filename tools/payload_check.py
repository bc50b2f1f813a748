#!/usr/bin/env python3
"""Looks at the payload a vendor names, when the updater is configured.

    payload_check.py PAYLOAD RELEASE_VERSION

Prints one line per finding, each "warning: ...", and nothing when all is
well: the payload should be a 32-bit Windows executable, and its version
resource, when it has one, should state the release version.
"""
import os
import sys
from decimal import Decimal, InvalidOperation

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_file import Pe, version_strings  # noqa: E402

RT_VERSION = 16


def same_version(text, release):
    try:
        return Decimal(text.strip()) == Decimal(release)
    except InvalidOperation:
        return False


def main():
    path, release = sys.argv[1], sys.argv[2]
    data = open(path, "rb").read()
    try:
        pe = Pe(data)
    except Exception:
        print(f"warning: the payload {path} is not a Windows executable")
        return 0
    if pe.machine != 0x14C:
        print(f"warning: the payload {path} is not a 32-bit Windows executable (machine {pe.machine:#x})")
    try:
        versions = [v for k, v in pe.resources().items() if k[0] == RT_VERSION]
    except Exception:
        versions = []
    if versions:
        strings = version_strings(versions[0])
        if strings and not any(same_version(v, release) for v in strings.values()):
            stated = ", ".join(f"{k} {v}" for k, v in strings.items())
            print(f"warning: the payload's version resource states {stated}, not the release version {release}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
