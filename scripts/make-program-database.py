#!/usr/bin/env python3
"""Writes Pellark's program database from a folder of the Chip8 Community Archive.

The folder holds the programs as NAME.ch8 and their metadata in programs.json. Each line of
the database is: the SHA-1 of the program's bytes, its platform, its cycles per frame (the
archive's tickrate), the switches it needs (comma-separated, "-" for none) and its title,
separated by tabs. Options the archive leaves out count as off.

    scripts/make-program-database.py FOLDER > src/files/programs.tsv
"""
import hashlib
import json
import pathlib
import sys

# The archive's option names of the six switches, in the order Pellark lists them.
SWITCHES = [
    ("shift", "shiftQuirks"),
    ("memory", "loadStoreQuirks"),
    ("jump", "jumpQuirks"),
    ("clip", "clipQuirks"),
    ("vblank", "vBlankQuirks"),
    ("logic", "logicQuirks"),
]


def is_on(value):
    # The archive writes switches as booleans, numbers or strings.
    if isinstance(value, str):
        return value.strip().lower() in ("1", "true")
    return bool(value)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = pathlib.Path(sys.argv[1])
    programs = json.loads((folder / "programs.json").read_text(encoding="utf-8"))
    print("# Pellark's program database, written by scripts/make-program-database.py from the")
    print("# Chip8 Community Archive (CC0). SHA-1, platform, cycles per frame, switches, title.")
    for name in sorted(programs):
        entry = programs[name]
        data = (folder / f"{name}.ch8").read_bytes()
        options = entry.get("options", {})
        switches = [ours for ours, theirs in SWITCHES if is_on(options.get(theirs, False))]
        title = " ".join(entry["title"].split())
        fields = [
            hashlib.sha1(data).hexdigest(),
            entry["platform"],
            str(int(options.get("tickrate", 20))),
            ",".join(switches) or "-",
            title,
        ]
        print("\t".join(fields))


if __name__ == "__main__":
    main()
