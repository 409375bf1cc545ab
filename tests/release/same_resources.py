#!/usr/bin/env python3
"""Two builds of OrvantaCtrl.exe, 64-bit and 32-bit, carry the same resources
byte for byte: the same dialog, notice, icon, manifest and version block, in
the same languages, whichever one a person is given.

Usage: same_resources.py EXE OTHER_EXE
"""

import sys

import pefile


def resources(path):
    """Returns {(type, name, language): bytes} for every resource of the file."""
    pe = pefile.PE(path)
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory else []:
        kind_label = str(kind.name) if kind.name else pefile.RESOURCE_TYPE.get(kind.id, kind.id)
        for name in kind.directory.entries:
            name_label = str(name.name) if name.name else name.id
            for language in name.directory.entries:
                data = language.data.struct
                found[(kind_label, name_label, language.id)] = pe.get_data(data.OffsetToData,
                                                                           data.Size)
    pe.close()
    return found


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    first, second = resources(argv[1]), resources(argv[2])
    passed = failed = 0
    for key in sorted(first.keys() | second.keys(), key=str):
        kind, name, language = key
        what = f"{kind} {name} language {language}"
        if key not in second or key not in first:
            failed += 1
            print(f"FAIL {what} only in {argv[1] if key in first else argv[2]}")
        elif first[key] != second[key]:
            failed += 1
            print(f"FAIL {what} differs ({len(first[key])} and {len(second[key])} bytes)")
        else:
            passed += 1
            print(f"ok   {what} ({len(first[key])} bytes)")
    if not first:
        failed += 1
        print(f"FAIL no resources in {argv[1]}")
    print(f"resources: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
