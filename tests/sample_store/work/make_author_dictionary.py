#!/usr/bin/python3
"""Writes AuthDB.dat (Shift-JIS, CR LF) from AuthDB.source.txt (UTF-8).

Each line is "|key|name|second|third|"; the key is the dictionary form of
the contributor's name as the classifier leaves it, role suffix included
(half-width katakana, no spaces or middle dots, "ー" as "-").

    /usr/bin/python3 make_author_dictionary.py [--check]

--check only tells whether AuthDB.dat is up to date (status 1 when not).
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "AuthDB.source.txt")
TARGET = os.path.join(HERE, "AuthDB.dat")


def dictionary_bytes():
    with open(SOURCE, encoding="utf-8") as file:
        lines = file.read().splitlines()
    return b"".join(line.encode("cp932") + b"\r\n" for line in lines)


def main(arguments):
    wanted = dictionary_bytes()
    if arguments == ["--check"]:
        with open(TARGET, "rb") as file:
            if file.read() != wanted:
                print("AuthDB.dat is not up to date: run make_author_dictionary.py",
                      file=sys.stderr)
                return 1
        return 0
    if arguments:
        print(__doc__, file=sys.stderr)
        return 2
    with open(TARGET, "wb") as file:
        file.write(wanted)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
