#!/usr/bin/env python3
"""Generates the benchmark trees: folders of one fixed width, and sets of documents to copy.

  make_tree.py tree <root> <folders>    <folders> folders (the root among them), each holding
                                        ten empty files and up to ten subfolders, breadth first
  make_tree.py docs <root> <count> <mib> <seed>
                                        <count> files of <mib> MiB in <root>, whose contents
                                        depend on <seed>, so that two seeds give two versions

The width is the same whatever the size, so that trees of different sizes differ only in how
many folders they hold (and so in depth, by one level per tenfold). A tree is made once: a
stamp file beside <root> records what it holds, and a matching stamp skips the work.
"""

import os
import shutil
import sys

FILES_PER_FOLDER = 10
SUBFOLDERS_PER_FOLDER = 10


def stamped(root, description):
    stamp = root.rstrip("/") + ".stamp"
    if os.path.isdir(root) and os.path.exists(stamp):
        with open(stamp, encoding="utf-8") as f:
            if f.read() == description:
                return True
    if os.path.exists(stamp):
        os.remove(stamp)
    if os.path.isdir(root):
        shutil.rmtree(root)
    return False


def stamp(root, description):
    with open(root.rstrip("/") + ".stamp", "w", encoding="utf-8") as f:
        f.write(description)


def make_tree(root, folders):
    description = f"tree {folders} folders x {FILES_PER_FOLDER} files, {SUBFOLDERS_PER_FOLDER} wide"
    if stamped(root, description):
        return
    # Folder i's subfolders are i*width+1 .. i*width+width: a complete tree, filled level by
    # level, so every folder but the last level's has the full width.
    paths = [root]
    os.makedirs(root)
    for i in range(folders):
        if i > 0:
            parent = paths[(i - 1) // SUBFOLDERS_PER_FOLDER]
            path = os.path.join(parent, f"Folder {i:05d}")
            os.mkdir(path)
            paths.append(path)
        for f in range(FILES_PER_FOLDER):
            os.close(os.open(os.path.join(paths[i], f"Document {f:02d}.txt"),
                             os.O_CREAT | os.O_WRONLY, 0o644))
    stamp(root, description)


def make_docs(root, count, mib, seed):
    description = f"docs {count} x {mib} MiB, seed {seed}"
    if stamped(root, description):
        return
    os.makedirs(root)
    block = bytes((seed * 37 + i) % 251 for i in range(1 << 20))
    for n in range(count):
        with open(os.path.join(root, f"Document {n:03d}.pdf"), "wb") as f:
            # The file's number leads every MiB, so no two documents are alike.
            for _ in range(mib):
                f.write(n.to_bytes(4, "little") + block[4:])
    stamp(root, description)


def main(argv):
    if len(argv) == 4 and argv[1] == "tree":
        make_tree(argv[2], int(argv[3]))
    elif len(argv) == 6 and argv[1] == "docs":
        make_docs(argv[2], int(argv[3]), int(argv[4]), int(argv[5]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
