#!/usr/bin/env bash
# Makes, from the Linux side, the links the Win32 tests look at: Wine lists a Unix symlink to a
# folder as a reparse point, but CreateSymbolicLinkW in Wine 8 reports success and makes nothing.
# Idempotent and never removes anything, so runs sharing the prefix do not disturb each other.
set -euo pipefail
links="${WINEPREFIX:?}/drive_c/win32fs-links"
mkdir -p "$links/real"
[ -f "$links/real/doc.txt" ] || echo doc > "$links/real/doc.txt"
ln -s . "$links/real/loop" 2>/dev/null || [ -L "$links/real/loop" ]  # a loop back to real
ln -s real "$links/link" 2>/dev/null || [ -L "$links/link" ]
