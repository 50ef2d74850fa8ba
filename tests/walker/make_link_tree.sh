#!/usr/bin/env bash
# Builds, from the Linux side, the tree the Win32 walker test walks: Wine shows a Unix symlink to
# a folder as a reparse point, and a program inside Wine cannot make one that Wine follows.
set -euo pipefail
tree="${WINEPREFIX:?}/drive_c/walker-tree"
rm -rf "$tree"
mkdir -p "$tree/a/b" "$tree/Ünïcödé 日本"
echo one > "$tree/a/f1.txt"
echo two > "$tree/a/b/f2.txt"
ln -s .. "$tree/a/b/loop"              # a loop back to a
ln -s /nonexistent/folder "$tree/dangling"
echo doc > "$tree/Ünïcödé 日本/doc ß.pdf"
deep="$tree"
for _ in $(seq 8); do deep="$deep/a-folder-name-of-forty-characters-long-x"; done
mkdir -p "$deep"
echo deep > "$deep/deep.txt"
