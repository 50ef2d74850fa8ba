#!/usr/bin/env python3
"""doc_manifest.py <documents folder> <output file>: writes the list of documents that the
program carries in its resources, so that its signature covers what it installs.

The list is UTF-8 text with LF line ends: the line "DocRecover documents 1", then one line per
file lying directly in the folder, "<sha256, lowercase hex> <size in bytes> <name>", sorted by
the name's UTF-8 bytes, so that nothing of the machine (its locale, the file system's order)
changes it. Subfolders are not documents. An empty folder gives the first line alone.

The output is written only when its bytes change, so that an unchanged list links nothing again.
A name Windows would change or confuse, or that the disc's Joliet names would shorten or change,
stops the build: the program would look for a document the disc cannot give it.
"""
import hashlib
import os
import stat
import sys

HEADER = "DocRecover documents 1\n"
JOLIET_MAX_UNITS = 103
JOLIET_REFUSES = set('*/:;?\\')


def refusal(name, mode):
    """Why a folder entry cannot be a document, or None."""
    if not stat.S_ISREG(mode):
        return "not a plain file"
    try:
        name.encode("utf-8")
    except UnicodeEncodeError:
        return "the name is not UTF-8"
    if name.endswith((".", " ")):
        return "the name ends in a dot or a space, which Windows drops"
    if len(name.encode("utf-16-le")) // 2 > JOLIET_MAX_UNITS:
        return f"the name is longer than the {JOLIET_MAX_UNITS} UTF-16 units Joliet keeps"
    if any(ch in JOLIET_REFUSES or ord(ch) < 32 for ch in name):
        return "the name holds a character Joliet does not allow (* / : ; ? \\ or a control one)"
    return None


def upper_case(name):
    """The name as Windows compares it: each character upper-cased on its own, where that gives
    one character (Windows keeps a name's length; it does not make "SS" of "\u00df")."""
    return "".join(ch.upper() if len(ch.upper()) == 1 else ch for ch in name)


def digest(path):
    sha = hashlib.sha256()
    with open(path, "rb") as file:
        for chunk in iter(lambda: file.read(1 << 20), b""):
            sha.update(chunk)
    return sha.hexdigest()


def manifest(folder):
    lines, problems, by_case = [], [], {}
    for entry in os.scandir(folder):
        mode = entry.stat(follow_symlinks=False).st_mode
        if stat.S_ISDIR(mode):
            continue
        path = os.path.join(folder, entry.name)
        why = refusal(entry.name, mode)
        # Windows compares names without regard to case: two such names are one document.
        twin = by_case.setdefault(upper_case(entry.name), entry.name)
        if why is None and twin != entry.name:
            why = f"differs only in letter case from {twin}"
        if why is not None:
            problems.append(f"{path}: {why}")
            continue
        lines.append((entry.name.encode("utf-8"), f"{digest(path)} {os.path.getsize(path)} "))
    if problems:
        sys.exit("doc_manifest: refused\n" + "\n".join(sorted(problems)))
    body = "".join(prefix + name.decode("utf-8") + "\n" for name, prefix in sorted(lines))
    return (HEADER + body).encode("utf-8")


def main(folder, output):
    text = manifest(folder)
    try:
        with open(output, "rb") as file:
            if file.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(output, "wb") as file:
        file.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.splitlines()[0])
    main(sys.argv[1], sys.argv[2])
