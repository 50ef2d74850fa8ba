# The end-to-end scenarios: each stages a computer, runs DocRecover on it with the driver acting as
# the user, and checks what the user saw, the exit status and the files afterwards. Sourced by
# tests/e2e/run.

# files_of <Windows folder>...: the listing of each folder, headed by its path.
files_of() {
  local folder letter
  for folder in "$@"; do
    letter=${folder:0:1}
    printf '== %s\n' "$folder"
    listing "$(on "${letter,,}" "${folder:3}")"
  done
}

# files <Windows folder> <listing> ...: the same, as a scenario expects it.
files() {
  while [ $# -gt 0 ]; do
    printf '== %s\n' "$1"
    [ -z "$2" ] || printf '%s\n' "$2"
    shift 2
  done
}

observed() {
  cat "$computer/observed"
}

layout='client: 324x300
Text4: 0,0 325x47
picMain: 8,4 163x43
txtSubTitle: 178,10 135x17
Text2: 176,26 137x17
Text1: 0,48 325x113
txtMessage: 8,54 307x85
Text3: 0,160 325x97
txtMessage2: 8,176 307x63
cmdCancel: 234,268 81x25
frame: fixed
centred: yes
owned: yes
focus: cmdCancel'

analyzing_panes='pane1: Analyzing your system, Please wait...
pane2: '

default_folder='C:\Program Files\ZEMO On CD'
second_folder='D:\Program Files\ZEMO On CD'

# Two installations, the default one on C: and one on D:, and the CD in a folder of E:.
two_installations() {
  new_computer "$1"
  installation "$(on c "${default_folder:3}")"
  installation "$(on d "${second_folder:3}")"
  cd_folder "$(on e CD)" "${2:-docs}"
}

scenario_offer_yes() {
  two_installations offer-yes
  run_program 'E:\CD\DocRecover.exe' window box panes yes box panes ok gone
  check "offer answered Yes: the offer and the completion" "window: ZEMO On CD v 1.50 Update
$offer_box
$analyzing_panes
$completion_box
$updated_panes
gone" "$(observed)"
  check "offer answered Yes: exit status" 0 "$program_status"
  check "offer answered Yes: only the default installation is updated" \
    "$(files "$default_folder" "$updated" "$second_folder" "$untouched" 'E:\CD\Docs' "$cd_docs")" \
    "$(files_of "$default_folder" "$second_folder" 'E:\CD\Docs')"
}

scenario_offer_no() {
  two_installations offer-no
  run_program 'E:\CD\DocRecover.exe' window box no box panes ok gone
  check "offer answered No: every drive is searched" "window: ZEMO On CD v 1.50 Update
$offer_box
$completion_box
$updated_panes
gone" "$(observed)"
  check "offer answered No: exit status" 0 "$program_status"
  check "offer answered No: both installations are updated" \
    "$(files "$default_folder" "$updated" "$second_folder" "$updated" 'E:\CD\Docs' "$cd_docs")" \
    "$(files_of "$default_folder" "$second_folder" 'E:\CD\Docs')"
}

# No default installation: one under a Unicode folder, its executable named in other letter case,
# and one at the root of D:.
scenario_root_and_unicode() {
  new_computer root-and-unicode
  installation "$(on c 'Программы\ZEMO 日本語')" packages Zemo.exe
  installation "$(on d '')"
  cd_folder "$(on e CD)"
  run_program 'E:\CD\DocRecover.exe' window box panes ok gone
  check "root and Unicode installations: found without an offer" "window: ZEMO On CD v 1.50 Update
$completion_box
$updated_panes
gone" "$(observed)"
  check "root and Unicode installations: exit status" 0 "$program_status"
  check "root and Unicode installations: both are updated" \
    "$(files 'C:\Программы\ZEMO 日本語' "${updated/ZEMO.exe: zemo/Zemo.exe: zemo}" 'D:\' "$updated")" \
    "$(files_of 'C:\Программы\ZEMO 日本語' 'D:\')"
}

# Only look-alikes: a folder named ZEMO.exe at the default path (no offer) and files whose names
# merely contain the name.
scenario_not_installed() {
  new_computer not-installed
  mkdir -p "$(on c "${default_folder:3}\\ZEMO.exe")"
  write_files "$(on d Tools)" "OldZEMO.exe=old" "ZEMO.exe.bak=backup" "ZEMO.ex=short"
  cd_folder "$(on e CD)"
  run_program 'E:\CD\DocRecover.exe' window box panes ok gone
  check "nothing found: the Not-installed box after searching every drive" "window: ZEMO On CD v 1.50 Update
$not_installed_box
$(searching F)
~ pane2: E:\CD\*
gone" "$(observed)"
  check "nothing found: exit status" 0 "$program_status"
  check "nothing found: the look-alikes are left alone" \
    "$(files 'D:\Tools' $'OldZEMO.exe: old\nZEMO.ex: short\nZEMO.exe.bak: backup')" \
    "$(files_of 'D:\Tools')"
}

no_copies_panes='pane1: ZEMO On CD Update found no copies of ZEMO On CD on your computer.
pane2: '

# Candidates without a usable package folder: the accepted default one has none; found ones have
# theirs hidden or marked system.
scenario_no_copies() {
  new_computer no-copies-offered
  installation "$(on c "${default_folder:3}")" no-packages
  cd_folder "$(on e CD)"
  run_program 'E:\CD\DocRecover.exe' window box yes box panes ok gone
  check "no package folder, offer accepted: the No-copies box" "window: ZEMO On CD v 1.50 Update
$offer_box
$no_copies_box
$no_copies_panes
gone" "$(observed)"
  check "no package folder, offer accepted: exit status" 0 "$program_status"
  check "no package folder, offer accepted: nothing is created" \
    "$(files "$default_folder" 'ZEMO.exe: zemo')" "$(files_of "$default_folder")"

  new_computer no-copies-searched
  installation "$(on d Hidden)"
  mark hidden "$(on d 'Hidden\Packages\ZEMO')"
  installation "$(on d System)"
  mark system "$(on d 'System\Packages\ZEMO')"
  cd_folder "$(on e CD)"
  run_program 'E:\CD\DocRecover.exe' window box panes ok gone
  check "hidden and system package folders: the No-copies box" "window: ZEMO On CD v 1.50 Update
$no_copies_box
$no_copies_panes
gone" "$(observed)"
  check "hidden and system package folders: exit status" 0 "$program_status"
  check "hidden and system package folders: left alone" \
    "$(files 'D:\Hidden' "$untouched" 'D:\System' "$untouched")" "$(files_of 'D:\Hidden' 'D:\System')"
}

# One installation searched before the big drive D: and one after it; Cancel is clicked as soon as
# the pane shows a path on D:. The driver reads that path in the program's own event pump and
# clicks at once, and the rest of D: takes far longer than that, so the question comes on D:.
cancel_computer() {
  new_computer "$1"
  installation "$(on c 'Games\ZEMO')"
  drive_is d "$big_drive"
  cd_folder "$(on e CD)"
  installation "$(on f ZEMO)"
}

scenario_cancel_yes() {
  cancel_computer cancel-yes
  run_program 'E:\CD\DocRecover.exe' window layout cancel-on 'D:\' box panes yes box panes ok gone
  # The layout is read during the search, when no box has taken the focus.
  check "Cancel, then Yes: the window's layout at 96 DPI, and the question" "window: ZEMO On CD v 1.50 Update
$layout
clicked: Cancel
$cancel_box
$(searching D)
~ pane2: D:\*
$completion_box
$updated_panes
gone" "$(observed)"
  check "Cancel, then Yes: exit status" 0 "$program_status"
  check "Cancel, then Yes: installations before and after the question are updated" \
    "$(files 'C:\Games\ZEMO' "$updated" 'F:\ZEMO' "$updated")" "$(files_of 'C:\Games\ZEMO' 'F:\ZEMO')"
}

scenario_cancel_no() {
  cancel_computer cancel-no
  run_program 'E:\CD\DocRecover.exe' window cancel-on 'D:\' box no gone
  check "Cancel, then No: the program ends without another box" "window: ZEMO On CD v 1.50 Update
clicked: Cancel
$cancel_box
gone" "$(observed)"
  check "Cancel, then No: exit status" 0 "$program_status"
  check "Cancel, then No: nothing is copied" \
    "$(files 'C:\Games\ZEMO' "$untouched" 'F:\ZEMO' "$untouched")" "$(files_of 'C:\Games\ZEMO' 'F:\ZEMO')"
}

# The title bar's close box asks the same question as Cancel while the search runs.
scenario_close_box_no() {
  cancel_computer close-box-no
  run_program 'E:\CD\DocRecover.exe' window close-on 'D:\' box no gone
  check "close box, then No: the cancel question, and the program ends" "window: ZEMO On CD v 1.50 Update
clicked: close box
$cancel_box
gone" "$(observed)"
  check "close box, then No: exit status" 0 "$program_status"
  check "close box, then No: nothing is copied" \
    "$(files 'C:\Games\ZEMO' "$untouched" 'F:\ZEMO' "$untouched")" "$(files_of 'C:\Games\ZEMO' 'F:\ZEMO')"
}

scenario_missing_docs() {
  two_installations missing-docs no-docs
  run_program 'E:\CD\DocRecover.exe' window box yes box panes ok gone
  check "no Docs folder: the error report" "window: ZEMO On CD v 1.50 Update
$offer_box
$missing_folder_box
pane1: Copying New Documents...\r\n\r\n$default_folder
pane2: 
gone" "$(observed)"
  check "no Docs folder: exit status" 1 "$program_status"
  check "no Docs folder: nothing is touched" \
    "$(files "$default_folder" "$untouched" "$second_folder" "$untouched")" \
    "$(files_of "$default_folder" "$second_folder")"
}

scenario_cd_at_root() {
  new_computer cd-at-root
  installation "$(on c "${default_folder:3}")"
  cd_folder "$(on e '')"
  run_program 'E:\DocRecover.exe' window box yes box ok gone
  check "started from the root of E:: the offer and the completion" "window: ZEMO On CD v 1.50 Update
$offer_box
$completion_box
gone" "$(observed)"
  check "started from the root of E:: exit status" 0 "$program_status"
  check "started from the root of E:: the documents come from E:\\Docs" \
    "$(files "$default_folder" "$updated" 'E:\Docs' "$cd_docs")" "$(files_of "$default_folder" 'E:\Docs')"
}

# windowed_times <label> <runs>: runs the program on the current computer, where it finds nothing,
# and leaves in times the milliseconds from its window's appearance to its final box, one a run.
windowed_times() {
  local run
  times=()
  for ((run = 1; run <= $2; run++)); do
    run_program 'E:\CD\DocRecover.exe' time-to-box box ok gone
    check "figure, $1 (run $run): the search runs to the Not-installed box" "~ search ms: *
$not_installed_box
gone" "$(observed)"
    times+=("$(sed -n 's/^search ms: //p' "$computer/observed")")
  done
}

# best <number>...: the smallest.
best() {
  printf '%s\n' "$@" | sort -g | head -1
}

# The figure: the big drive searched by the program, window on screen, and by the same search
# without a window, each timed from the drive listing (for the program: its window's appearance)
# to the end of the search; the best of a few runs of each, so that a moment of load on the machine
# counts less. Printed, never judged; only the runs are checked.
figure_window_vs_headless() {
  local windowed headless=() run
  new_computer figure
  drive_is d "$big_drive"
  cd_folder "$(on e CD)"
  windowed_times "window on screen" 3
  windowed=("${times[@]}")
  for run in 1 2 3 4 5; do
    timeout 120 wine "$headless_search" 2>&1 | tr -d '\r' >"$computer/headless"
    headless+=("$(sed -n 's/^search ms: //p' "$computer/headless")")
  done
  check "figure, without a window: every file is visited" "files: $((big_drive_files + 5))
found: 0
~ search ms: *" "$(cat "$computer/headless")"
  awk -v n="$big_drive_files" -v w="$(best "${windowed[@]}")" -v h="$(best "${headless[@]}")" \
    -v all="window ${windowed[*]}, headless ${headless[*]}" '
    BEGIN {
      if (w == "" || h == "") exit
      printf "figure: a %d-file drive searched in %.0f ms with the window on screen, %.0f ms without a window: %.2fx\n", n, w, h, w / h
      printf "        (best runs, from the window shown or the drive listing to the end of the search; all runs in ms: %s)\n", all
    }'
}
