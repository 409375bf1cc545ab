#!/usr/bin/env python3
"""The hardening check rejects each single regression of a good executable.

Every case patches one copy of the built executable, 64-bit or 32-bit, the
way a careless link, toolchain or code change would, and expects exactly the
named checks to fail, with the offending import named where there is one.

Usage: hardening_mutations_test.py EXE
"""

import os
import shutil
import sys
import tempfile

import pefile

import check_hardening as hardening


def swap_machine(pe):
    """Labels a 64-bit image as 32-bit code, or the other way round."""
    other = "IMAGE_FILE_MACHINE_I386" if hardening.is_64_bit(pe) else "IMAGE_FILE_MACHINE_AMD64"
    pe.FILE_HEADER.Machine = pefile.MACHINE_TYPE[other]


def make_console_program(pe):
    pe.OPTIONAL_HEADER.Subsystem = pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"]


def ask_for_windows_8(pe):
    pe.OPTIONAL_HEADER.MajorSubsystemVersion = 6
    pe.OPTIONAL_HEADER.MinorSubsystemVersion = 2


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


def rename_import(old, new):
    """Imports function `new` in place of `old` by rewriting the name in place."""
    def mutate(pe):
        for entry in pe.DIRECTORY_ENTRY_IMPORT:
            for imported in entry.imports:
                if imported.name == old.encode():
                    assert len(new) <= len(old), "the new name must fit over the old one"
                    pe.set_bytes_at_offset(imported.name_offset, new.encode().ljust(len(old), b"\0"))
                    return
        raise AssertionError(f"{old} is not imported to begin with")
    return mutate


def hide_dll_search_lookup(pe):
    """Spoils the name the start-up looks up, as a typo in it would."""
    offset = pe.__data__.find(b"\0SetDefaultDllDirectories\0")
    assert offset >= 0, "SetDefaultDllDirectories is not looked up to begin with"
    pe.set_bytes_at_offset(offset + 1, b"SetDefaultDllDirectorieZ")


LISTED = hardening.CHECKS[-1][0]
# (label, mutation, checks expected to fail, text the failure must contain,
#  64-bit images only)
CASES = [
    ("machine swapped", swap_machine, {"x86-64 or x86 image"}, "", False),
    ("console program", make_console_program, {"GUI program"}, "", False),
    ("subsystem version of Windows 8", ask_for_windows_8,
     {"subsystem version no later than Windows 7"}, "", False),
    ("ASLR dropped", clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE),
     {"ASLR (DYNAMIC_BASE)"}, "", False),
    ("high-entropy ASLR dropped",
     clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA),
     {"high-entropy ASLR (64-bit)"}, "", True),
    ("DEP dropped", clear_dll_characteristic(hardening.IMAGE_DLLCHARACTERISTICS_NX_COMPAT),
     {"DEP (NX_COMPAT)"}, "", False),
    ("not large address aware", clear_large_address_aware, {"large address aware"}, "", False),
    ("relocations marked stripped", mark_relocations_stripped, {"relocations kept"}, "", False),
    ("relocation directory dropped", drop_relocation_directory, {"relocations kept"}, "", False),
    ("code section writable", make_code_writable, {"no writable code section"}, "", False),
    ("non-KnownDLL system import", rename_imported_dll("msvcrt.dll", "urlmon.dll"),
     {"imports only system DLLs", LISTED}, "malloc urlmon.dll", False),
    ("toolchain DLL import", rename_imported_dll("kernel32.dll", "libssp-0.dll"),
     {"imports only system DLLs", "DLL search restricted to System32", LISTED}, "", False),
    ("DLL search not looked up", hide_dll_search_lookup,
     {"DLL search restricted to System32"}, "", False),
    ("DLL search fallback not imported", rename_import("SetDllDirectoryW", "GetLastError"),
     {"DLL search restricted to System32"}, "SetDllDirectoryW", False),
    ("import not on the list", rename_import("SetUnhandledExceptionFilter", "GetTickCount"),
     {LISTED}, "GetTickCount kernel32.dll", False),
    ("import newer than Windows 7 SP1",
     rename_import("SetUnhandledExceptionFilter", "SetDefaultDllDirectories"),
     {LISTED}, "SetDefaultDllDirectories kernel32.dll needs Windows 8", False),
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
    pe = pefile.PE(good)
    is_64_bit = hardening.is_64_bit(pe)
    pe.close()
    with tempfile.TemporaryDirectory(prefix="rel-mutations-") as scratch:
        for label, mutate, expected, mentioned, only_64_bit in CASES:
            if only_64_bit and not is_64_bit:
                continue
            patched = os.path.join(scratch, "patched.exe")
            shutil.copyfile(good, patched)
            pe = pefile.PE(patched)
            mutate(pe)
            data = pe.write()
            pe.close()
            with open(patched, "wb") as out:
                out.write(data)
            reported = dict(hardening.failed_checks(patched))
            if set(reported) != expected:
                failed += 1
                print(f"FAIL {label}: expected {sorted(expected)}, reported {sorted(reported)}")
            elif mentioned and not any(mentioned in problem for problem in reported.values()):
                failed += 1
                print(f"FAIL {label}: no failure says '{mentioned}': {reported}")
            else:
                passed += 1
                print(f"ok   {label}")
    print(f"hardening-mutations: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
