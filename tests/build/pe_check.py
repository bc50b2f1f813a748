#!/usr/bin/env python3
"""Checks a built updater as a file: what Windows will load and trust.

    pe_check.py UPDATER.exe --machine i386 --payload PAYLOAD [--resource-type VELNA --resource-name UPGRADE]

Checks the machine type, the GUI subsystem, ASLR and DEP (with relocations
kept), that every imported DLL is one that Windows loads from its system
folder, the icon group MAINICON (one 32 x 32 image, 24 bits), the manifest
(asInvoker, DPI aware), and that the payload resource is byte-identical to
the payload file, in language 1048 only. Prints each check; exits 1 on any
failure.
"""
import argparse
import struct
import sys

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
# DLLs that Windows always takes from its system folder (KnownDLLs and the
# ones every process has), so that nothing planted beside the updater loads.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll", "ntdll.dll"}
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24
DYNAMIC_BASE, NX_COMPAT = 0x0040, 0x0100


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
        directories = optional + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, va, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((va, max(vsize, raw_size), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"rva {rva:#x} outside every section")

    def c_string(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("latin-1")

    def imports(self):
        rva, size = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            entry = struct.unpack_from("<5I", self.data, at)
            if not any(entry):
                return names
            names.append(self.c_string(entry[3]))
            at += 20

    def resources(self):
        """{(type, name, language): bytes}; ids as ints, names as upper-case text."""
        root_rva, _ = self.directories[2]
        base = self.offset(root_rva)
        found = {}

        def entries(directory):
            named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        for rtype, types in entries(0):
            for name, names in entries(types & 0x7FFFFFFF):
                for language, leaf in entries(names & 0x7FFFFFFF):
                    rva, size, _, _ = struct.unpack_from("<IIII", self.data, base + leaf)
                    at = self.offset(rva)
                    found[(rtype, name, language)] = self.data[at:at + size]
        return found


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("exe")
    parser.add_argument("--machine", choices=MACHINES, required=True)
    parser.add_argument("--payload", required=True)
    parser.add_argument("--resource-type", default="VELNA")
    parser.add_argument("--resource-name", default="UPGRADE")
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
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
