#!/usr/bin/env python3
"""Writes the STRINGTABLE of the notice text for OrvantaCtrl.rc.

The text comes from notice.txt, whose @kWildcardPattern@ is replaced by the
pattern compiled into the program (app/site_profile.h), so the notice always
names the site the program registers. The build stops when the text cannot
be shown whole: the dialog loads it into a buffer of 512 UTF-16 units, and
the notice keeps to its budget of 511 bytes in code page 949 as well.

usage: make_notice.py NOTICE_TXT SITE_PROFILE_H OUTPUT_RC
"""

import re
import sys

# The buffer also holds the terminator.
NOTICE_UNIT_LIMIT = 511  # UTF-16 units, what the dialog's buffer counts
NOTICE_BYTE_LIMIT = 511  # bytes in code page 949, the notice's stated budget
PLACEHOLDER = "@kWildcardPattern@"
PATTERN_DEFINITION = re.compile(r'\bkWildcardPattern\[\]\s*=\s*"([^"\\]*)"\s*;')


def fail(message):
    sys.exit(f"make_notice.py: error: {message}")


def read_wildcard_pattern(profile_path):
    with open(profile_path, encoding="utf-8") as profile:
        found = PATTERN_DEFINITION.findall(profile.read())
    if len(found) != 1:
        fail(f"{profile_path}: expected one plain kWildcardPattern string literal, found {len(found)}")
    return found[0]


def rc_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""').replace("\n", "\\n") + '"'


def main(notice_path, profile_path, output_path):
    with open(notice_path, encoding="utf-8") as notice:
        template = notice.read()
    if template.count(PLACEHOLDER) != 1:
        fail(f"{notice_path}: expected {PLACEHOLDER} exactly once")
    # Lines joined by single line feeds, no trailing one.
    text = "\n".join(template.splitlines()).replace(PLACEHOLDER, read_wildcard_pattern(profile_path))

    try:
        size = len(text.encode("cp949"))
    except UnicodeEncodeError as error:
        fail(f"the notice has a character code page 949 cannot show: {error}")
    if size > NOTICE_BYTE_LIMIT:
        fail(f"the notice is {size} bytes in code page 949; its budget is {NOTICE_BYTE_LIMIT}")
    units = len(text.encode("utf-16-le")) // 2
    if units > NOTICE_UNIT_LIMIT:
        fail(f"the notice is {units} UTF-16 units; the dialog shows at most {NOTICE_UNIT_LIMIT}")

    with open(output_path, "w", encoding="utf-8", newline="\n") as output:
        output.write("// Written by res/make_notice.py from res/notice.txt and app/site_profile.h.\n")
        output.write("#pragma code_page(65001)\n")
        output.write("STRINGTABLE\nBEGIN\n")
        output.write(f"    IDS_NOTICE {rc_string(text)}\n")
        output.write("END\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
