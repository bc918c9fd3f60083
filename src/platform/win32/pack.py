#!/usr/bin/env python3
"""Packs a folder into a zip whose file names are marked as UTF-8, so that
Windows shows 词库 and 帮助.chm by their names whatever its code page.

Usage: pack.py ZIP FOLDER   (the folder goes into the zip under its own name)
"""
import os
import sys
import zipfile


def main():
    target, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    base = os.path.dirname(folder)
    with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(root, name)
                # Python marks every non-ASCII name as UTF-8 (flag bit 11).
                z.write(path, os.path.relpath(path, base))
    return 0


if __name__ == "__main__":
    sys.exit(main())
