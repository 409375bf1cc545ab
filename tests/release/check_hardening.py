#!/usr/bin/env python3
"""Reads a built OrvantaCtrl.exe, 64-bit or 32-bit, and fails on any loss of
its hardening or of its reach.

The executable is a GUI program, downloaded by ordinary users and run
elevated: it must keep ASLR with its relocations, high-entropy ASLR (64-bit
only), DEP and large-address awareness, have no section both writable and
executable, import only DLLs that the loader always maps from System32, and
look up the call that confines every later DLL search to System32. It must
also start on Windows 7 SP1: its subsystem version asks for no later
Windows, every function it imports is on the list in imports.txt with the
oldest Windows that has it, and none needs a later one.

Usage: check_hardening.py EXE
"""

import os
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

IMPORT_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "imports.txt")
# Oldest first, as imports.txt names them.
WINDOWS_VERSIONS = ["2000", "XP", "XP-SP1", "XP-SP2", "XP-SP3", "Vista", "Vista-SP1",
                    "Vista-SP2", "7", "7-SP1", "8", "8.1", "10"]
OLDEST_SUPPORTED = "7-SP1"
WINDOWS_7_VERSION = (6, 1)

IMAGE_FILE_RELOCS_STRIPPED = 0x0001
IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA = 0x0020
IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
IMAGE_DLLCHARACTERISTICS_NX_COMPAT = 0x0100
IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000
BASE_RELOCATION_DIRECTORY = pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]


def imported_modules(pe):
    """Yields (dll name, [function names]) for ordinary and delay-loaded imports.

    A function imported by ordinal has no name; it appears as "#ordinal".
    """
    for attribute in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attribute, []):
            names = [i.name.decode() if i.name else f"#{i.ordinal}" for i in entry.imports]
            yield entry.dll.decode(), names


def is_64_bit(pe):
    return pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS


def read_import_list(path=IMPORT_LIST):
    """Returns {(dll in lower case, function): oldest Windows} from imports.txt.

    Raises ValueError, naming the line, on a line that is not three fields or
    names a Windows the list does not know.
    """
    listed = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            fields = line.split("#", 1)[0].split()
            if not fields:
                continue
            if len(fields) != 3 or fields[2] not in WINDOWS_VERSIONS:
                raise ValueError(f"{path}:{number}: expected 'function dll oldest-Windows' "
                                 f"with a Windows among {' '.join(WINDOWS_VERSIONS)}: {line.strip()}")
            function, dll, oldest = fields
            listed[(dll.lower(), function)] = oldest
    return listed


def machine_matches_format(pe):
    expected = "IMAGE_FILE_MACHINE_AMD64" if is_64_bit(pe) else "IMAGE_FILE_MACHINE_I386"
    machine = pe.FILE_HEADER.Machine
    if machine != pefile.MACHINE_TYPE[expected]:
        image = "PE32+ (64-bit)" if is_64_bit(pe) else "PE32 (32-bit)"
        return f"a {image} image for machine 0x{machine:04x}, not {expected[19:].lower()}"
    return None


def gui_program(pe):
    subsystem = pe.OPTIONAL_HEADER.Subsystem
    if subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        return f"subsystem {pefile.SUBSYSTEM_TYPE.get(subsystem, subsystem)}: not a GUI program"
    return None


def subsystem_version_loads_on_oldest_windows(pe):
    """The loader refuses an image that asks for a later Windows than its own."""
    header = pe.OPTIONAL_HEADER
    version = (header.MajorSubsystemVersion, header.MinorSubsystemVersion)
    if version > WINDOWS_7_VERSION:
        return f"subsystem version {version[0]}.{version[1]} is later than Windows 7's 6.1"
    return None


def dll_characteristic(flag, label, only_64_bit=False):
    def check(pe):
        if only_64_bit and not is_64_bit(pe):
            return None
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
    """SetDefaultDllDirectories is looked up by name, SetDllDirectoryW imported.

    An import of SetDefaultDllDirectories itself fails the import list instead.
    """
    kernel32 = set()
    for dll, names in imported_modules(pe):
        if dll.lower() == "kernel32.dll":
            kernel32.update(names)
    missing = sorted({"GetProcAddress", "SetDllDirectoryW"} - kernel32)
    if missing:
        return f"KERNEL32!{', '.join(missing)} not imported"
    if pe.__data__.find(b"\0SetDefaultDllDirectories\0") < 0:
        return "no SetDefaultDllDirectories to look up at run time"
    return None


def imports_listed_for_oldest_windows(pe):
    try:
        listed = read_import_list()
    except (OSError, ValueError) as error:
        return str(error)
    unlisted = []
    too_new = []
    for dll, names in imported_modules(pe):
        for name in names:
            oldest = listed.get((dll.lower(), name))
            if oldest is None:
                unlisted.append(f"{name} {dll.lower()}")
            elif WINDOWS_VERSIONS.index(oldest) > WINDOWS_VERSIONS.index(OLDEST_SUPPORTED):
                too_new.append(f"{name} {dll.lower()} needs Windows {oldest}")
    problems = []
    if unlisted:
        problems.append(f"not in {os.path.basename(IMPORT_LIST)}; add a line 'function dll "
                        "oldest-Windows' for each:\n" + "\n".join(f"       {i}" for i in unlisted))
    if too_new:
        problems.append(f"later than Windows {OLDEST_SUPPORTED}:\n" +
                        "\n".join(f"       {i}" for i in too_new))
    return "\n     ".join(problems) if problems else None


CHECKS = [
    ("x86-64 or x86 image", machine_matches_format),
    ("GUI program", gui_program),
    ("subsystem version no later than Windows 7", subsystem_version_loads_on_oldest_windows),
    ("ASLR (DYNAMIC_BASE)", dll_characteristic(IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "DYNAMIC_BASE")),
    ("high-entropy ASLR (64-bit)",
     dll_characteristic(IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, "HIGH_ENTROPY_VA", only_64_bit=True)),
    ("DEP (NX_COMPAT)", dll_characteristic(IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "NX_COMPAT")),
    ("large address aware", large_address_aware),
    ("relocations kept", relocations_kept),
    ("no writable code section", no_writable_code),
    ("imports only system DLLs", system_imports_only),
    ("DLL search restricted to System32", restricts_dll_search),
    (f"imports listed, none after Windows {OLDEST_SUPPORTED}", imports_listed_for_oldest_windows),
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
