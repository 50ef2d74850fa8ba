# shellcheck shell=bash
# The disc that ships DocRecover, as an ISO 9660 image: Rock Ridge, so that its files are
# read-only wherever it is mounted, as on a pressed disc, and Joliet names, which are what Windows
# reads. Shared by scripts/release, scripts/demo and the end-to-end tests. Source it.

# The volume label, within Joliet's 16 characters: what Explorer shows for the drive.
disc_label="ZEMO 1.50 Update"

# disc_xorriso <argument>...: xorriso without its banner, its complaints still shown.
disc_xorriso() {
  xorriso -report_about SORRY "$@" 2> >(grep -v 'libburnia project\|^$' >&2)
}

# disc_image <folder> <image> <unix time>: the folder, which holds DocRecover.exe and Docs, as a
# disc image, with an autorun.inf beside the program whose label and icon AutoPlay shows. Every
# date on it is that time, so the same folder gives the same bytes. Fails, naming them, where the
# Joliet tree would not show a name as it is: Joliet shortens long names (to 103 characters even
# when asked for long ones) and replaces the characters it does not allow, without a word.
disc_image() {
  printf '%s\r\n' "[autorun]" "open=DocRecover.exe" "icon=DocRecover.exe,0" \
    "label=ZEMO On CD Doc Recover" >"$1/autorun.inf"
  rm -f "$2"
  SOURCE_DATE_EPOCH=$3 disc_xorriso -as mkisofs -input-charset UTF-8 -r -J \
    -joliet-long -V "$disc_label" --set_all_file_dates "=$3" --modification-date="$(
      date -u -d "@$3" +%Y%m%d%H%M%S00)" -o "$2" "$1" || return 1
  local changed
  changed=$(comm -23 <(disc_names "$2" any) <(disc_names "$2" norock))
  [ -z "$changed" ] || { printf 'disc: Joliet would not show these names as they are:\n%s\n' "$changed" && return 1; }
}

# disc_names <image> <any|norock>: the paths on the image as Rock Ridge (any) or Joliet (norock)
# has them, sorted.
disc_names() {
  disc_xorriso -local_charset UTF-8 -read_fs "$2" -indev "$1" -find / | LC_ALL=C sort
}

# disc_extract <image> <folder>: the files of the image in the folder, with the modes Rock Ridge
# gives them (read-only). Given to Wine as a CD-ROM drive, they show what the image mounted
# (fuseiso) shows: the same files, modes and drive type. Extracted rather than mounted, it needs
# no /dev/fuse, which containers and CI may lack, and leaves no mount behind a run that is killed.
disc_extract() {
  [ ! -e "$2" ] || chmod -R u+w "$2" && rm -rf "$2"
  disc_xorriso -local_charset UTF-8 -osirrox on -indev "$1" -extract / "$2"
}

# disc_volume_label <image>: the label in the Joliet volume descriptor, which Windows shows.
disc_volume_label() {
  local sector
  for sector in 16 17 18 19; do
    if [ "$(od -An -tx1 -j $((sector * 2048)) -N1 "$1" | tr -d ' ')" = 02 ]; then
      dd if="$1" bs=1 skip=$((sector * 2048 + 40)) count=32 status=none | iconv -f UTF-16BE -t UTF-8 | sed 's/ *$//'
      return
    fi
  done
}

# The demo's 1.50 documents, for a disc made to try the program: what scripts/release ships
# without --docs, and what the test build's DocRecover-trial.exe vouches for (tests/e2e).
# shellcheck disable=SC2034 # read by the scripts that source this
disc_trial_docs=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/trial-docs
