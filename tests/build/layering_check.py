#!/usr/bin/env python3
"""The folders of the updater depend one way, top to bottom:

    app (program entry) -> ui (main window, controls) -> frame (window base,
    application frame, message loop, dialogs, error report) -> host (registry,
    payload, handles) -> core (standard C++ only)

A file may include from its own folder and from the folders below it, never
from one above. Prints every include that goes the wrong way; exits 1 if any.

    layering_check.py SOURCE_DIR
"""
import os
import re
import sys

LAYERS = ["app", "ui", "frame", "host", "core"]  # top to bottom
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.M)


def main():
    root = sys.argv[1]
    wrong = []
    for rank, folder in enumerate(LAYERS):
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if not name.endswith((".h", ".cpp")):
                continue
            text = open(os.path.join(root, folder, name), encoding="utf-8").read()
            for target in INCLUDE.findall(text):
                if target in LAYERS and LAYERS.index(target) < rank:
                    wrong.append(f"{folder}/{name} includes from {target}/, a folder above it")
    for line in wrong:
        print(line)
    print(f"layering: {len(wrong)} include(s) the wrong way" if wrong else "layering: " + " -> ".join(LAYERS))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
