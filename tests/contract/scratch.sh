#!/usr/bin/env bash
# Makes the Win32 contract suite's scratch folder afresh in the Wine prefix, from the Linux side:
# Wine lists a Unix symlink to a folder as a reparse point, but CreateSymbolicLinkW in Wine 8
# reports success and makes nothing; and only Linux makes two names that differ only in case.
set -euo pipefail
scratch="${WINEPREFIX:?}/drive_c/contract-scratch"
rm -rf "$scratch"
mkdir -p "$scratch/links/real"
echo doc >"$scratch/links/real/doc.txt"
ln -s . "$scratch/links/real/loop"
mkdir "$scratch/twins" && touch "$scratch/twins/a.pdf" "$scratch/twins/A.PDF"
