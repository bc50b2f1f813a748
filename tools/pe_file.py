"""Reads what the build and its checks need from a Windows executable (PE):
machine, flags, data directories, imports, resources and version strings."""
import re
import struct

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
        self.section_sizes = {}
        table = optional + optional_size
        for i in range(sections):
            name, vsize, va, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((va, max(vsize, raw_size), raw))
            self.section_sizes[name.rstrip(b"\0").decode("latin-1")] = vsize

    def section_size(self, name):
        """The size in memory of the section of that name (8 characters at most), 0 when there is none."""
        return self.section_sizes.get(name[:8], 0)

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


def version_strings(data, keys=("FileVersion", "ProductVersion")):
    """{key: text} for the given keys of a VS_VERSIONINFO resource's string table."""
    found = {}
    for key in keys:
        m = re.search(key.encode("utf-16-le") + rb"(?:\0\0)+((?:[^\0].|\0[^\0])*?)\0\0", data, re.S)
        if m:
            raw = m.group(1)
            if len(raw) % 2:
                raw = raw[1:]
            found[key] = raw.decode("utf-16-le", "replace")
    return found
