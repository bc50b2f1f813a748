#!/usr/bin/env python3
"""Checks a built updater as a file: what Windows will load and trust.

    pe_check.py UPDATER.exe --machine i386 --payload PAYLOAD [--resource-type VELNA --resource-name UPGRADE]
                [--version 1.0003 --product "Velna 2025"] [--map LINK_MAP --max-overhead 65536]

Checks the machine type, the GUI subsystem, ASLR and DEP (with relocations
kept), that every imported DLL is one that Windows loads from its system
folder, the icon group MAINICON (one 32 x 32 image, 24 bits), the manifest
(asInvoker, DPI aware), and that the payload resource is byte-identical to
the payload file, in language 1048 only; with --version and --product, that
the version resource states that release version and product name; with
--max-overhead, that the updater is at most that many bytes larger than its
payload; with --map (the linker's map of the updater), that no part of the
C++ exception machinery was linked. Prints each check; exits 1 on any failure.
"""
import argparse
import os
import re
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from pe_file import Pe, version_strings  # noqa: E402

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
# DLLs that Windows always takes from its system folder (KnownDLLs and the
# ones every process has), so that nothing planted beside the updater loads.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll", "ntdll.dll"}
RT_ICON, RT_VERSION, RT_GROUP_ICON, RT_MANIFEST = 3, 16, 14, 24
DYNAMIC_BASE, NX_COMPAT = 0x0040, 0x0100


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("exe")
    parser.add_argument("--machine", choices=MACHINES, required=True)
    parser.add_argument("--payload", required=True)
    parser.add_argument("--resource-type", default="VELNA")
    parser.add_argument("--resource-name", default="UPGRADE")
    parser.add_argument("--version", help="the release version the version resource must state")
    parser.add_argument("--product", help="the product name the version resource must state")
    parser.add_argument("--max-overhead", type=int, help="the most bytes the updater may add to its payload")
    parser.add_argument("--map", help="the linker's map of the updater")
    args = parser.parse_args()

    pe = Pe(open(args.exe, "rb").read())
    failures = []

    def check(what, ok, detail=""):
        print(f"{'ok  ' if ok else 'FAIL'} {what}{': ' + detail if detail else ''}")
        if not ok:
            failures.append(what)

    check("machine", pe.machine == MACHINES[args.machine], f"{pe.machine:#x}")
    check("Windows GUI subsystem", pe.subsystem == 2, str(pe.subsystem))
    check("ASLR (dynamic base)", bool(pe.dll_characteristics & DYNAMIC_BASE), f"{pe.dll_characteristics:#06x}")
    check("DEP (NX compatible)", bool(pe.dll_characteristics & NX_COMPAT), f"{pe.dll_characteristics:#06x}")
    check("relocations kept", pe.directories[5][1] > 0 and not pe.characteristics & 0x0001)
    imports = pe.imports()
    foreign = [name for name in imports if name.lower() not in SYSTEM_DLLS]
    check("imports only system DLLs", not foreign, ", ".join(imports))

    resources = pe.resources()
    groups = [k for k in resources if k[0] == RT_GROUP_ICON]
    check("icon group MAINICON", any(k[1] == "MAINICON" for k in groups), str(groups))
    if groups:
        group = resources[groups[0]]
        count = struct.unpack_from("<H", group, 4)[0]
        width, height, _, _, _, bits = struct.unpack_from("<BBBBHH", group, 6)
        check("icon: one 32 x 32 image, 24 bits", (count, width, height, bits) == (1, 32, 32, 24),
              f"{count} image(s), {width}x{height}, {bits} bits")
    manifests = [v for k, v in resources.items() if k[0] == RT_MANIFEST and k[1] == 1]
    manifest = manifests[0].decode("utf-8", "replace") if manifests else ""
    check("manifest asks for no elevation", 'level="asInvoker"' in manifest)
    check("manifest declares DPI awareness", "<dpiAware" in manifest)

    payload = open(args.payload, "rb").read()
    carried = {k: v for k, v in resources.items() if k[0] == args.resource_type and k[1] == args.resource_name}
    check(f"payload {args.resource_type}/{args.resource_name} in language 1048 only",
          list(k[2] for k in carried) == [1048], str(list(carried)))
    check("payload byte-identical to the payload file", any(v == payload for v in carried.values()),
          f"{len(payload)} bytes")

    if args.version is not None or args.product is not None:
        versions = [v for k, v in resources.items() if k[0] == RT_VERSION]
        stated = version_strings(versions[0], ("FileVersion", "ProductVersion", "ProductName")) if versions else {}
        if args.version is not None:
            check(f"version resource states release {args.version}",
                  stated.get("FileVersion") == args.version == stated.get("ProductVersion"), str(stated))
        if args.product is not None:
            check(f"version resource names {args.product}", stated.get("ProductName") == args.product, str(stated))

    if args.max_overhead is not None:
        overhead = os.path.getsize(args.exe) - len(payload)
        check(f"overhead at most {args.max_overhead} bytes over the payload", overhead <= args.max_overhead,
              f"{overhead} bytes")
    if args.map is not None:
        linked = set(re.findall(r"([\w.+-]+\.a)\(([^)]+)\)", open(args.map, errors="replace").read()))
        machinery = sorted(f"{archive}({member})" for archive, member in linked
                           if archive == "libgcc_eh.a" or "unwind" in member or archive.startswith("libstdc++")
                           or archive == "libsupc++.a")
        check("no unwinder or C++ exception runtime linked", not machinery, ", ".join(machinery))
        frames = pe.section_size(".eh_frame")
        check("unwind tables (.eh_frame) at most 4 KiB", frames <= 4096, f"{frames} bytes")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
