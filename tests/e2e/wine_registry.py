"""Reads the current user's registry of a Wine prefix from its user.reg file
and tells exactly how two states of a few trees differ.

Wine writes user.reg when its wineserver ends, so a state read here is the
one the programs of the prefix left behind. Key and value names are compared
without regard to case, as Windows does.
"""

from dataclasses import dataclass
import re

REG_SZ = 1
REG_EXPAND_SZ = 2
REG_BINARY = 3
REG_DWORD = 4
REG_MULTI_SZ = 7

_TYPE_NAMES = {0: "REG_NONE", REG_SZ: "REG_SZ", REG_EXPAND_SZ: "REG_EXPAND_SZ",
               REG_BINARY: "REG_BINARY", REG_DWORD: "REG_DWORD", REG_MULTI_SZ: "REG_MULTI_SZ",
               11: "REG_QWORD"}


@dataclass(frozen=True)
class Value:
    """A registry value: its type number and its data (an int for a
    well-formed REG_DWORD, a str for string types, bytes otherwise)."""
    type: int
    data: object

    def __str__(self):
        name = _TYPE_NAMES.get(self.type, f"type {self.type}")
        return f"{name} {self.data!r}"


def dword(number):
    return Value(REG_DWORD, number)


def sz(text):
    return Value(REG_SZ, text)


class _Absent:
    def __str__(self):
        return "absent"

    __repr__ = __str__


class _Present:
    def __str__(self):
        return "present"

    __repr__ = __str__


ABSENT = _Absent()   # a key or value that does not exist
PRESENT = _Present()  # a key that exists (keys have no data of their own)


def key_change(path):
    """Diff entry for a key itself."""
    return (path.lower(), None)


def value_change(path, name):
    """Diff entry for a value of a key."""
    return (path.lower(), name.lower())


@dataclass
class Key:
    path: str
    values: dict  # lower-case name -> (name, Value)


_C_ESCAPES = {"a": "\a", "b": "\b", "t": "\t", "n": "\n", "v": "\v", "f": "\f", "r": "\r",
              "e": "\x1b"}


def _unescape(text):
    """Undoes the escaping wineserver applies to names and string data:
    C escapes, \\xHHHH for non-ASCII characters and octal for other controls."""
    out = []
    i = 0
    while i < len(text):
        char = text[i]
        i += 1
        if char != "\\" or i == len(text):
            out.append(char)
            continue
        char = text[i]
        i += 1
        if char in _C_ESCAPES:
            out.append(_C_ESCAPES[char])
        elif char == "x":
            digits = re.match(r"[0-9a-fA-F]{1,4}", text[i:])
            if digits:
                out.append(chr(int(digits.group(0), 16)))
                i += len(digits.group(0))
            else:
                out.append("x")
        elif char in "01234567":
            digits = re.match(r"[0-7]{1,3}", text[i - 1:]).group(0)
            out.append(chr(int(digits, 8)))
            i += len(digits) - 1
        else:
            out.append(char)
    return "".join(out)


def _quoted(text, start):
    """The escaped body of the double-quoted string at text[start] and the
    index just past its closing quote."""
    assert text[start] == '"', text
    i = start + 1
    while text[i] != '"':
        i += 2 if text[i] == "\\" else 1
    return text[start + 1:i], i + 1


def _parse_data(text):
    if text.startswith('"'):
        body, _ = _quoted(text, 0)
        return Value(REG_SZ, _unescape(body))
    string = re.match(r"str\((\d+)\):", text)
    if string:
        body, _ = _quoted(text, string.end())
        return Value(int(string.group(1)), _unescape(body))
    if text.startswith("dword:"):
        return Value(REG_DWORD, int(text[6:], 16))
    binary = re.match(r"hex(?:\(([0-9a-fA-F]+)\))?:", text)
    if binary:
        kind = int(binary.group(1), 16) if binary.group(1) else REG_BINARY
        digits = text[binary.end():].replace(",", "").replace(" ", "")
        return Value(kind, bytes.fromhex(digits))
    raise ValueError(f"unknown value data in user.reg: {text[:60]}")


def _logical_lines(text):
    """Lines of the file with hex continuations ("\\" at the end) joined."""
    pending = ""
    for line in text.splitlines():
        if pending:
            line = pending + line.strip()
            pending = ""
        if line.endswith("\\") and re.search(r"=(hex|dword)", line) and not line.startswith("["):
            pending = line[:-1]
            continue
        yield line
    if pending:
        yield pending


def parse_user_reg(text):
    """All keys of a user.reg text: lower-case path -> Key. Keys that wine
    leaves implicit (no values, only sub-keys) are included."""
    keys = {}
    current = None
    for line in _logical_lines(text):
        if line.startswith("["):
            end = line.index("]")
            while line[end - 1] == "\\":  # an escaped "]" inside the name
                end = line.index("]", end + 1)
            path = _unescape(line[1:end])
            current = keys.setdefault(path.lower(), Key(path, {}))
        elif current is not None and (line.startswith('"') or line.startswith("@=")):
            if line.startswith("@="):
                name, rest = "", line[2:]
            else:
                body, after = _quoted(line, 0)
                name, rest = _unescape(body), line[after + 1:]
            current.values[name.lower()] = (name, _parse_data(rest))
    for path in list(keys):
        parts = keys[path].path.split("\\")
        for depth in range(1, len(parts)):
            ancestor = "\\".join(parts[:depth])
            keys.setdefault(ancestor.lower(), Key(ancestor, {}))
    return keys


def read_user_reg(prefix):
    with open(f"{prefix}/user.reg", encoding="utf-8", errors="surrogateescape") as file:
        return parse_user_reg(file.read())


def subtrees(keys, roots):
    """The keys at or below any of the given paths."""
    wanted = [root.lower() for root in roots]
    return {path: key for path, key in keys.items()
            if any(path == root or path.startswith(root + "\\") for root in wanted)}


def diff(before, after):
    """Every difference between two states: (path, None) for a key that came or
    went, (path, value name) for a value that came, went or changed, mapped to
    (old, new), where a missing key or value is ABSENT and a key is PRESENT."""
    changes = {}
    for path in before.keys() | after.keys():
        old_key, new_key = before.get(path), after.get(path)
        if (old_key is None) != (new_key is None):
            changes[(path, None)] = (PRESENT if old_key else ABSENT, PRESENT if new_key else ABSENT)
        old_values = old_key.values if old_key else {}
        new_values = new_key.values if new_key else {}
        for name in old_values.keys() | new_values.keys():
            old = old_values[name][1] if name in old_values else ABSENT
            new = new_values[name][1] if name in new_values else ABSENT
            if old != new:
                changes[(path, name)] = (old, new)
    return changes


def describe_change(entry, change):
    path, name = entry
    where = f"[{path}]" if name is None else f"[{path}] {'@' if name == '' else repr(name)}"
    return f"{where}: {change[0]} -> {change[1]}"
