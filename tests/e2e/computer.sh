# A computer for one scenario, and one run of DocRecover on it. Sourced by tests/e2e/run, which sets
# e2e_root, program and driver and has made the prefix (scripts/lib/wine.sh).
#
# Each drive is a folder build/e2e/<scenario>/<letter>. C: holds Wine's own folders only as links,
# which a search passes over without entering, so that every drive holds just what a scenario puts
# there. Every computer has the same drive letters: Wine learns the drives once, when its server
# starts, and later only follows each letter to its current folder.
drive_letters=(c d e f)

# The documents, old and new, by name and content. Names and contents differ so that a listing
# afterwards shows which copy each file is.
old_documents=("Manual.txt=old manual" "ReadMe.txt=old readme" "Notes.txt=user notes")
new_documents=("Manual.txt=new manual" "ReadMe.txt=new readme" "Übersicht.txt=new overview")

# new_computer <scenario>: starts a computer whose drives are empty.
new_computer() {
  computer=$e2e_root/$1
  rm -rf "$computer"
  local letter system
  for letter in "${drive_letters[@]}"; do
    mkdir -p "$computer/$letter"
  done
  for system in windows users ProgramData; do
    ln -s "$WINEPREFIX/drive_c/$system" "$computer/c/$system"
  done
}

# drive_is <letter> <linux folder>: the drive stands for a folder staged elsewhere.
drive_is() {
  rmdir "$computer/$1"
  ln -s "$2" "$computer/$1"
}

# on <drive letter> <path below its root>: the Linux path of a file or folder on the computer.
on() {
  printf '%s/%s/%s' "$computer" "$1" "${2//\\//}"
}

# write_files <folder> <name=content>...: writes each file, making the folder.
write_files() {
  local folder=$1 entry
  shift
  mkdir -p "$folder"
  for entry in "$@"; do
    printf '%s' "${entry#*=}" >"$folder/${entry%%=*}"
  done
}

# installation <folder> [no-packages] [executable name]: an installed ZEMO On CD, with its package
# folder holding the old documents (the manual read-only), or without a package folder.
installation() {
  local folder=$1 packages=${2:-packages} name=${3:-ZEMO.exe}
  write_files "$folder" "$name=zemo"
  if [ "$packages" = packages ]; then
    write_files "$folder/Packages/ZEMO" "${old_documents[@]}"
    chmod a-w "$folder/Packages/ZEMO/Manual.txt"
  fi
}

# cd_folder <folder> [no-docs]: the CD: DocRecover.exe and its Docs, whose subfolder is never copied.
cd_folder() {
  mkdir -p "$1"
  cp "$program" "$1/DocRecover.exe"
  if [ "${2:-docs}" = docs ]; then
    write_files "$1/Docs" "${new_documents[@]}"
    write_files "$1/Docs/Archive" "Manual 1.0.txt=archived manual"
  fi
}

# mark <hidden|system> <path>: the DOS attribute as Wine keeps it.
mark() {
  local value
  case $1 in hidden) value=0x2 ;; system) value=0x4 ;; esac
  setfattr -n user.DOSATTRIB -v "\"$value\"" "$2"
}

# listing <folder>: every file beneath folder, sorted, as "relative/path: content".
listing() {
  local file
  (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort) | while IFS= read -r file; do
    printf '%s: %s\n' "$file" "$(cat "$1/$file")"
  done
}

# map_drives: the prefix's drive letters become exactly the computer's drives.
map_drives() {
  local letter
  rm -f "$WINEPREFIX"/dosdevices/?:
  for letter in "${drive_letters[@]}"; do
    wine_map_drive "$letter" "$computer/$letter"
  done
}

# run_program <Windows path of DocRecover.exe> <driver step>...: starts the driver, then, once it
# watches, the program, both bounded. Leaves the driver's lines in $computer/observed and the
# program's exit status in program_status (124 when it had to be stopped).
run_program() {
  local exe=$1 driver_pid program_pid
  shift
  map_drives
  : >"$computer/observed"
  timeout 120 wine "$driver" "$@" >"$computer/observed" 2>"$computer/driver.log" &
  driver_pid=$!
  wait_for_line "driver ready" "$computer/observed" "$driver_pid"
  (cd "$computer" && exec timeout 120 wine "$exe" >"$computer/program.log" 2>&1) &
  program_pid=$!
  if ! wait "$driver_pid"; then
    # The program may be waiting for an answer that will never come.
    kill "$program_pid" 2>/dev/null
  fi
  wait "$program_pid"
  program_status=$?
  sed -i '1{/^driver ready$/d}' "$computer/observed"
}

# wait_for_line <line> <file> <pid>: waits until file holds line, or pid has ended, for at most 60 s.
wait_for_line() {
  local tries
  for ((tries = 0; tries < 1200; tries++)); do
    grep -qx "$1" "$2" && return
    kill -0 "$3" 2>/dev/null || return
    sleep 0.05
  done
}
