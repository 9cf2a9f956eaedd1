#!/usr/bin/env python3
"""Fills unfinished entries of the Chinese catalogues from a table of known
translations, and lists what is still unfinished.

An unfinished text that the same catalogue already translates in another
class takes that translation. The table
(resources/translations/pending-texts.tsv) holds texts whose
sources have not reached this tree yet: when lupdate later finds them, they
arrive unfinished and are filled from here. One row per text, tab separated:

    context  source  zh_CN  zh_TW

A context of "*" matches any class. "\\n" and "\\t" stand for a line feed and
a tab. Lines starting with "#" are comments.

    fill-translations.py --fill TABLE CATALOGUE...   fill, then report
    fill-translations.py --check CATALOGUE...        report only

Exits 1 when any catalogue still holds an unfinished or empty entry, or a
translation whose %1, %2 ... placeholders differ from its source's (arg()
would then put a value in the wrong place or append it), listing each one as
"file: context: source".
"""

import re
import sys
import xml.etree.ElementTree as ET

# The table's column for each catalogue, by the catalogue's language.
COLUMNS = {"zh_CN": 2, "zh_TW": 3}


def unescape(text):
    return text.replace("\\n", "\n").replace("\\t", "\t").replace("\\\\", "\\")


def read_table(path):
    rows = {}
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            if len(cells) != 4 or not all(cells):
                sys.exit("%s:%d: expected four tab-separated cells" % (path, number))
            context, source, *translations = (unescape(cell) for cell in cells)
            rows[(context, source)] = translations
    return rows


def is_unfinished(message):
    translation = message.find("translation")
    if translation is None:
        return True
    if translation.get("type") in ("obsolete", "vanished"):
        return False
    if translation.get("type") == "unfinished":
        return True
    numerus = translation.findall("numerusform")
    if numerus:
        return any(not (form.text or "") for form in numerus)
    return not (translation.text or "")


PLACEHOLDER = re.compile(r"%L?(\d+)")


def placeholders(text):
    return sorted(PLACEHOLDER.findall(text or ""))


def process(path, table):
    tree = ET.parse(path)
    root = tree.getroot()
    language = root.get("language", "")
    column = COLUMNS.get(language)
    changed = False
    left = []
    # A text already translated in one class reads the same in another.
    known_here = {}
    if table is not None:
        for message in root.iter("message"):
            if not is_unfinished(message):
                translation = message.find("translation")
                if translation.get("type") not in ("obsolete", "vanished") and translation.text:
                    known_here.setdefault(message.findtext("source", ""), translation.text)
    for context in root.iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            source = message.findtext("source", "")
            if not is_unfinished(message):
                translation = message.find("translation")
                if translation.get("type") not in ("obsolete", "vanished") and placeholders(
                    translation.text
                ) != placeholders(source):
                    left.append("%s: %s: %s (placeholders differ)" % (path, name, source.replace("\n", "\\n")))
                continue
            known = None
            if table is not None and column is not None:
                known = table.get((name, source)) or table.get(("*", source))
            text = known[column - 2] if known else known_here.get(source)
            if text:
                translation = message.find("translation")
                if translation is None:
                    translation = ET.SubElement(message, "translation")
                translation.text = text
                translation.attrib.pop("type", None)
                changed = True
            else:
                left.append("%s: %s: %s" % (path, name, source.replace("\n", "\\n")))
    if changed:
        tree.write(path, encoding="utf-8", xml_declaration=True)
    return left


def main(argv):
    if len(argv) >= 3 and argv[0] == "--fill":
        table, catalogues = read_table(argv[1]), argv[2:]
    elif len(argv) >= 2 and argv[0] == "--check":
        table, catalogues = None, argv[1:]
    else:
        sys.exit(__doc__)
    left = []
    for path in catalogues:
        left += process(path, table)
    for entry in left:
        print("to translate: " + entry)
    return 1 if left else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
