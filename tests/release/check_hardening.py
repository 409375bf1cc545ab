#!/usr/bin/env python3
"""Reads a built OrvantaCtrl.exe and fails on any loss of its hardening.

The executable is downloaded by ordinary users and runs elevated: it must keep
ASLR with its relocations, high-entropy ASLR, DEP and large-address awareness,
have no section both writable and executable, and import only DLLs that the
loader always maps from System32, plus the call that confines every later DLL
search to System32.

Usage: check_hardening.py EXE
"""

import sys

import pefile

# KnownDLLs on every Windows from 7 on: the loader maps them from System32
# whatever lies beside the executable. Toolchain DLLs (libstdc++, libgcc,
# winpthread) and the UCRT's api-ms-win-crt-* sets are deliberately absent: on
# Windows 7 the latter are ordinary files found by the ordinary search.
ALLOWED_IMPORTS = frozenset({
    "kernel32.dll",
    "user32.dll",
    "gdi32.dll",
    "advapi32.dll",
    "ole32.dll",
    "oleaut32.dll",
    "shell32.dll",
    "shlwapi.dll",
    "comdlg32.dll",
    "imm32.dll",
    "msvcrt.dll",
})

IMAGE_FILE_RELOCS_STRIPPED = 0x0001
IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA = 0x0020
IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
IMAGE_DLLCHARACTERISTICS_NX_COMPAT = 0x0100
IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000
BASE_RELOCATION_DIRECTORY = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]


def imported_modules(pe):
    """Yields (dll name, [function names]) for ordinary and delay-loaded imports."""
    for attribute in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attribute, []):
            names = [i.name.decode() for i in entry.imports if i.name]
            yield entry.dll.decode(), names


def dll_characteristic(flag, label):
    def check(pe):
        if not pe.OPTIONAL_HEADER.DllCharacteristics & flag:
            return f"{label} is not set (DllCharacteristics 0x{pe.OPTIONAL_HEADER.DllCharacteristics:04x})"
        return None
    return check


def large_address_aware(pe):
    if not pe.FILE_HEADER.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE:
        return "LARGE_ADDRESS_AWARE is not set"
    return None


def relocations_kept(pe):
    if pe.FILE_HEADER.Characteristics & IMAGE_FILE_RELOCS_STRIPPED:
        return "RELOCS_STRIPPED is set: the loader cannot move the image"
    directory = pe.OPTIONAL_HEADER.DATA_DIRECTORY[BASE_RELOCATION_DIRECTORY]
    if directory.VirtualAddress == 0 or directory.Size == 0:
        return "the base relocation directory is empty"
    if pe.get_section_by_rva(directory.VirtualAddress) is None:
        return "the base relocation directory points outside every section"
    return None


def no_writable_code(pe):
    both = IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE
    bad = [s.Name.rstrip(b"\0").decode(errors="replace")
           for s in pe.sections if s.Characteristics & both == both]
    return f"writable and executable: {', '.join(bad)}" if bad else None


def system_imports_only(pe):
    modules = list(imported_modules(pe))
    if not modules:
        return "no import table found"
    foreign = sorted({dll for dll, _ in modules if dll.lower() not in ALLOWED_IMPORTS})
    return f"imports DLLs outside the allow-list: {', '.join(foreign)}" if foreign else None


def restricts_dll_search(pe):
    for dll, names in imported_modules(pe):
        if dll.lower() == "kernel32.dll" and "SetDefaultDllDirectories" in names:
            return None
    return "KERNEL32!SetDefaultDllDirectories is not imported"


def amd64_image(pe):
    machine = pe.FILE_HEADER.Machine
    if machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]:
        return f"machine 0x{machine:04x} is not x86-64"
    return None


CHECKS = [
    ("x86-64 image", amd64_image),
    ("ASLR (DYNAMIC_BASE)", dll_characteristic(IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "DYNAMIC_BASE")),
    ("high-entropy ASLR", dll_characteristic(IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA")),
    ("DEP (NX_COMPAT)", dll_characteristic(IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "NX_COMPAT")),
    ("large address aware", large_address_aware),
    ("relocations kept", relocations_kept),
    ("no writable code section", no_writable_code),
    ("imports only system DLLs", system_imports_only),
    ("DLL search restricted to System32", restricts_dll_search),
]


def failed_checks(path):
    """Returns [(check name, problem)] for every check the file fails."""
    pe = pefile.PE(path)
    try:
        results = [(name, check(pe)) for name, check in CHECKS]
    finally:
        pe.close()
    return [(name, problem) for name, problem in results if problem]


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    failures = dict(failed_checks(argv[1]))
    for name, _ in CHECKS:
        if name in failures:
            print(f"FAIL {name}: {failures[name]}")
        else:
            print(f"ok   {name}")
    print(f"hardening: {len(CHECKS) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
