#!/usr/bin/env python3
"""The hardening check rejects each single regression of a good executable.

Every case patches one copy of the built executable the way a careless link
or toolchain change would, and expects exactly the named checks to fail.

Usage: hardening_mutations_test.py EXE
"""

import os
import shutil
import sys
import tempfile

import pefile

import check_hardening as hardening


def make_32_bit_machine(pe):
    pe.FILE_HEADER.Machine = pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]


def clear_dll_characteristic(flag):
    def mutate(pe):
        pe.OPTIONAL_HEADER.DllCharacteristics &= ~flag
    return mutate


def clear_large_address_aware(pe):
    pe.FILE_HEADER.Characteristics &= ~hardening.IMAGE_FILE_LARGE_ADDRESS_AWARE


def mark_relocations_stripped(pe):
    pe.FILE_HEADER.Characteristics |= hardening.IMAGE_FILE_RELOCS_STRIPPED


def drop_relocation_directory(pe):
    directory = pe.OPTIONAL_HEADER.DATA_DIRECTORY[hardening.BASE_RELOCATION_DIRECTORY]
    directory.VirtualAddress = 0
    directory.Size = 0


def make_code_writable(pe):
    code = next(s for s in pe.sections if s.Characteristics & hardening.IMAGE_SCN_MEM_EXECUTE)
    code.Characteristics |= hardening.IMAGE_SCN_MEM_WRITE


def rename_imported_dll(old, new):
    """Points an import at another DLL by rewriting its name in place."""
    def mutate(pe):
        entry = next(e for e in pe.DIRECTORY_ENTRY_IMPORT if e.dll.decode().lower() == old)
        assert len(new) <= len(entry.dll), "the new name must fit over the old one"
        pe.set_bytes_at_rva(entry.struct.Name, new.encode().ljust(len(entry.dll), b"\0"))
    return mutate


def replace_dll_search_import(pe):
    """Imports an ordinary kernel32 function in place of SetDefaultDllDirectories."""
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        for imported in entry.imports:
            if imported.name == b"SetDefaultDllDirectories":
                pe.set_bytes_at_offset(imported.name_offset,
                                       b"GetTickCount".ljust(len(imported.name), b"\0"))
                return
    raise AssertionError("SetDefaultDllDirectories is not imported to begin with")


CASES = [
    ("not an x86-64 image", make_32_bit_machine, {"x86-64 image"}),
    ("ASLR dropped", clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE),
     {"ASLR (DYNAMIC_BASE)"}),
    ("high-entropy ASLR dropped",
     clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA),
     {"high-entropy ASLR"}),
    ("DEP dropped", clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_NX_COMPAT),
     {"DEP (NX_COMPAT)"}),
    ("not large address aware", clear_large_address_aware, {"large address aware"}),
    ("relocations marked stripped", mark_relocations_stripped, {"relocations kept"}),
    ("relocation directory dropped", drop_relocation_directory, {"relocations kept"}),
    ("code section writable", make_code_writable, {"no writable code section"}),
    ("non-KnownDLL system import", rename_imported_dll("msvcrt.dll", "urlmon.dll"),
     {"imports only system DLLs"}),
    ("toolchain DLL import", rename_imported_dll("kernel32.dll", "libssp-0.dll"),
     {"imports only system DLLs", "DLL search restricted to System32"}),
    ("DLL search left open", replace_dll_search_import, {"DLL search restricted to System32"}),
]


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    good = argv[1]
    passed = failed = 0
    baseline = {name for name, _ in hardening.failed_checks(good)}
    if baseline:
        print(f"FAIL the unmodified executable already fails: {', '.join(sorted(baseline))}")
        print(f"hardening-mutations: 0 passed, {len(CASES)} failed")
        return 1
    with tempfile.TemporaryDirectory(prefix="rel-mutations-") as scratch:
        for label, mutate, expected in CASES:
            patched = os.path.join(scratch, "patched.exe")
            shutil.copyfile(good, patched)
            pe = pefile.PE(patched)
            mutate(pe)
            data = pe.write()
            pe.close()
            with open(patched, "wb") as out:
                out.write(data)
            reported = {name for name, _ in hardening.failed_checks(patched)}
            if reported == expected:
                passed += 1
                print(f"ok   {label}")
            else:
                failed += 1
                print(f"FAIL {label}: expected {sorted(expected)}, reported {sorted(reported)}")
    print(f"hardening-mutations: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
