#!/usr/bin/python3
"""Writes PubDB.dat and LabelsDB.dat (Shift-JIS, CR LF) from their UTF-8
sources PubDB.source.txt and LabelsDB.source.txt.

PubDB.dat lines are "|code|publisher": the publisher code of a Japanese
ISBN (2 to 6 digits) and the name to store. LabelsDB.dat lines are
"|publisher|label key|label": the publisher as the record holds it, the
dictionary form of the page's label (half-width katakana, no spaces or
middle dots, "ー" as "-") and the label to store.

    /usr/bin/python3 make_publisher_and_label_dictionaries.py [--check]

--check only tells whether both files are up to date (status 1 when not).
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DICTIONARIES = [("PubDB.source.txt", "PubDB.dat"), ("LabelsDB.source.txt", "LabelsDB.dat")]


def dictionary_bytes(source):
    with open(os.path.join(HERE, source), encoding="utf-8") as file:
        lines = file.read().splitlines()
    return b"".join(line.encode("cp932") + b"\r\n" for line in lines)


def main(arguments):
    if arguments not in ([], ["--check"]):
        print(__doc__, file=sys.stderr)
        return 2
    stale = []
    for source, target in DICTIONARIES:
        wanted = dictionary_bytes(source)
        path = os.path.join(HERE, target)
        if arguments == ["--check"]:
            try:
                with open(path, "rb") as file:
                    if file.read() != wanted:
                        stale.append(target)
            except FileNotFoundError:
                stale.append(target)
        else:
            with open(path, "wb") as file:
                file.write(wanted)
    for target in stale:
        print("%s is not up to date: run make_publisher_and_label_dictionaries.py" % target,
              file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
