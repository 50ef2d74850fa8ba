# What the user must see and what must be on disk, written out as literals, and the checks that
# compare them. Sourced by tests/e2e/run. Texts are as the driver prints them: CR as \r, LF as \n.

passed=0
failed=0

# check <name> <expected> <actual>: one test. A line of expected that starts with "~ " is a
# pattern in which only * is special.
check() {
  local name=$1 expected=$2 actual=$3 want pattern i
  local -a want_lines got_lines report=()
  mapfile -t want_lines <<<"$expected"
  mapfile -t got_lines <<<"$actual"
  for i in "${!want_lines[@]}"; do
    want=${want_lines[$i]}
    if [[ $want == "~ "* ]]; then
      pattern=${want#"~ "}
      pattern=${pattern//\\/\\\\}
      pattern=${pattern//\?/\\?}
      pattern=${pattern//\[/\\[}
      # shellcheck disable=SC2053  # the right side is the pattern
      [[ ${got_lines[$i]-} == $pattern ]] && continue
    else
      [ "${got_lines[$i]-}" = "$want" ] && continue
    fi
    report+=("line $((i + 1)) expected: $want" "line $((i + 1))      got: ${got_lines[$i]-(nothing)}")
  done
  for ((i = ${#want_lines[@]}; i < ${#got_lines[@]}; i++)); do
    report+=("line $((i + 1))    extra: ${got_lines[$i]}")
  done
  if [ ${#report[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    printf '       %s\n' "${report[@]}"
  fi
}

title='box title: ZEMO On CD Doc Recover'
support='Orvell Technical Support\r\nEmail: support@docrecover.invalid\r\nPhone: 555-0142'
retry='If you'"'"'re sure that ZEMO On CD is installed on this computer, please restart your computer and run this updater again. If, after restarting your computer and running'

offer_box="$title
box text: The ZEMO On CD program has been located on drive C in the following folder:\r\n\r\nC:\Program Files\ZEMO On CD\r\n\r\nWe recommend that you click YES to continue normally and update your ZEMO On CD program.\r\n\r\nYou may optionally click NO if you want this updater to search your computer for additional installations of the ZEMO On CD program. We recommend that you do this only if you've already run this updater and found that your ZEMO On CD program was not updated.
box buttons: Yes, No
box default: Yes
box icon: information"

completion_box="$title
box text: ZEMO On CD Doc Repair has completed successfully.
box buttons: OK
box default: OK
box icon: information"

not_installed_box="$title
box text: Windows is reporting that ZEMO On CD is not installed on this computer.\r\n\r\n$retry this updater a second time you still encounter this error, contact Orvell technical support for assistance.\r\n\r\n$support
box buttons: OK
box default: OK
box icon: exclamation"

no_copies_box="$title
box text: This updater has found no copies of ZEMO On CD on your computer.\r\n\r\n$retry this program a second time you still encounter this error, contact Orvell technical support for assistance.\r\n\r\n$support
box buttons: OK
box default: OK
box icon: exclamation"

cancel_box='box title: Cancel Update?
box text: Your ZEMO on CD program has not been updated.\r\n\r\nClick Yes if you want to continue the update.\r\nClick No if you want to cancel the update.
box buttons: Yes, No
box default: Yes
box icon: information'

# The error report names the failure in the platform's own words and number, which Wine chooses,
# and the folder that is missing.
missing_folder_box="$title
~ box text: The update could not be finished because of this error:\r\n\r\n* (E:\CD\Docs)\r\n(error *)\r\n\r\nDocuments copied before the error are in place; no other document was changed.
box buttons: OK
box default: OK
box icon: stop"

# searching <drive>: the main pane while a drive is searched.
searching() {
  printf '%s' "pane1: Welcome\r\n\r\nZEMO On CD Update is now searching drive $1 for all copies of the ZEMO On CD program.\r\n\r\nPlease wait..."
}

updated_panes='pane1: Updating your system, please wait...
pane2: '

# An installation's files, as listing prints them, before and after it received the documents.
untouched='Packages/ZEMO/Manual.txt: old manual
Packages/ZEMO/Notes.txt: user notes
Packages/ZEMO/ReadMe.txt: old readme
ZEMO.exe: zemo'
updated='Packages/ZEMO/Manual.txt: new manual
Packages/ZEMO/Notes.txt: user notes
Packages/ZEMO/ReadMe.txt: new readme
Packages/ZEMO/Übersicht.txt: new overview
ZEMO.exe: zemo'
# The CD's documents, which no run changes.
cd_docs='Archive/Manual 1.0.txt: archived manual
Manual.txt: new manual
ReadMe.txt: new readme
Übersicht.txt: new overview'
