#!/usr/bin/env bash
# End-to-end test of kx-suite-app, driven like a user with keyboard and mouse
# on a private X server: builds a variable parameter list on two axes of the
# sample project, edits and copies a value, saves the project, and after a
# restart finds list, axes and values again, in the list window, its export
# and in an axis comparison report.
#
#   run.sh APP_BINARY WORK_DIR SAMPLE_PROJECT
#
# Logs and screenshots stay in WORK_DIR, also when a step fails.
set -euo pipefail


# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
kx_test_arguments "$@"

rm -rf "$KX_WORK"
kx_setup
out="$KX_WORK/files"
mkdir -p "$out"

list_name="Inbetriebnahme"
list_title="^Variable Pararameterliste - $list_name\$"
project="$out/e2e-project.kxproj"
edited_value="123.4"
second_value="77.7"

# Runs "Exportieren ..." of the list window into FILE. The focus goes from the
# tree through the coordinate field and the help button to the menu button,
# and back to the tree when done. The menu has no mnemonics; its entries are
# devices, clear, export, import, with separators the keys skip.
export_list() {
    local window=$1 file=$2
    kx_focus "$window"
    kx_key Tab Tab Tab space
    kx_wait_popup > /dev/null
    kx_key Down Down Down Return
    kx_save_dialog '^Parameterzusammenstellung exportieren$' "$file"
    kx_wait_file "$file"
    kx_focus "$window"
    kx_key Tab
}

# With the focus in the list tree: puts the cursor on the value of the first
# axis in row ROW (0 is the first), types VALUE into the in-place editor and
# copies it to the second axis.
edit_and_copy() {
    local window=$1 row=$2 value=$3 copy=${4:-ctrl+2}
    kx_focus "$window"
    kx_key Home
    local i
    for (( i = 0; i < row; ++i )); do kx_key Down; done
    kx_key Right Return ctrl+a
    kx_type "$value"
    kx_key Return "$copy"
}

# export_report FILE: the comparison window's report, written to FILE; the
# offer to open it is declined.
export_report() {
    local file=$1
    kx_focus "$compare"
    # Where the focus starts differs with the view's history; a click in the
    # names column puts it into the tree, from which the report button is the
    # third stop (past "Nur Unterschiede anzeigen" and the help button).
    kx_geometry "$compare"
    kx_click "$compare" $(( KX_W / 5 )) $(( KX_H / 2 ))
    kx_key Tab Tab Tab space
    kx_save_dialog '^Parameterübersicht als HTML exportieren$' "$file"
    kx_wait_file "$file"
    notice=$(kx_wait_window '^Achsvergleich$')
    kx_shot "$notice" report-notice
    kx_focus "$notice"
    # Escape is "Schließen"; the default button would start a browser.
    kx_key Escape
    kx_wait_window_gone '^Achsvergleich$'
}

# report_cells FILE COORDINATE: the two value cells of the parameter's row, "A|B".
report_cells() {
    sed -E 's#</tr>#&\n#g' "$1" \
        | sed -nE "s#.*<td[^>]*>$2 [^<]*</td><td[^>]*>([^<]*)</td><td[^>]*>([^<]*)</td></tr>.*#\\1|\\2#p"
}

# --- first session --------------------------------------------------------

kx_step "open the sample project"
kx_start_app "$app" "$sample"
main=$(kx_wait_window ' – KX Suite$')
sample_name=$(basename "$sample")
kx_wait_title "$main" "^Unbenannt \\(aus ${sample_name//./\\.}\\) – KX Suite\$"
kx_shot "$main" main-window

kx_step "open the repository of variable parameter lists"
kx_focus "$main"
# The first entry of the Extras menu, which opens with its first entry active.
kx_key alt+x Return
repository=$(kx_wait_window '^Variable Parameterlisten$')
kx_shot "$repository" repository

kx_step "create a list"
kx_focus "$repository"
# A project without lists shows only the placeholder row for a new one.
kx_key Down Return
kx_type "$list_name"
kx_key Return
list=$(kx_wait_window "$list_title")

kx_step "choose two axes"
# A new list has no axes, so its window asks for them right away.
selection=$(kx_wait_window '^Antriebsregler auswählen$')
kx_focus "$selection"
# From the bottom of the device tree: Band 1, its controller, then the two
# axes of the winding station, Aufwickler above Abwickler.
kx_key End Up Up space Up space
kx_shot "$selection" device-selection
kx_key Return
kx_wait_window_gone '^Antriebsregler auswählen$'

kx_step "add parameters by coordinate"
kx_focus "$list"
# The tree has the focus; the coordinate field comes next. It keeps the last
# coordinate after adding it, so every new one replaces the text.
kx_key Tab
for coordinate in c20 C10 D01; do
    kx_key ctrl+a
    kx_type "$coordinate"
    kx_key Return
done
kx_key shift+Tab

kx_step "edit a value in place and copy it to the second axis"
# Rows: C10, C20, D01.
edit_and_copy "$list" 0 "$edited_value"
kx_shot "$list" list-edited

kx_step "export the list"
export_list "$list" "$out/list-first.txt"
printf 'C10\r\nC20\r\nD01\r\n' > "$out/list-expected.txt"
cmp -s "$out/list-expected.txt" "$out/list-first.txt" \
    || kx_fail "the export holds $(od -c "$out/list-first.txt" | head -5), expected C10, C20 and D01 in CRLF lines"

kx_step "save the project"
kx_focus "$main"
kx_key ctrl+s
kx_save_dialog '^Projekt speichern unter$' "$project"
kx_wait_file "$project"
kx_wait_title "$main" '^e2e-project\.kxproj – KX Suite$'
grep -q "$list_name" "$project" || kx_fail "the saved project does not mention the list '$list_name'"

kx_step "quit"
kx_focus "$main"
kx_key ctrl+q
kx_wait_app_exit

# --- second session -------------------------------------------------------

kx_step "reopen the saved project"
kx_start_app "$app" "$project"
main=$(kx_wait_window ' – KX Suite$')
kx_wait_title "$main" '^e2e-project\.kxproj – KX Suite$'

kx_step "reopen the list"
kx_focus "$main"
kx_key alt+x Return
repository=$(kx_wait_window '^Variable Parameterlisten$')
kx_focus "$repository"
# Where the placeholder row sorts depends on the view's history; typing the
# list's first letter finds the list either way.
kx_type "${list_name:0:1}"
kx_key Return
list=$(kx_wait_window "$list_title")
kx_shot "$list" list-reopened

kx_step "export the reopened list"
# A list without axes would ask for them again, and that dialog would take
# the keys meant for the export.
KX_HINT="if 'Antriebsregler auswählen' is open, the reopened list lost its axes"
export_list "$list" "$out/list-second.txt"
KX_HINT=""
[ -z "$(kx_find_window '^Antriebsregler auswählen$')" ] \
    || kx_fail "the reopened list lost its axes: it asks for them again"
cmp -s "$out/list-first.txt" "$out/list-second.txt" \
    || kx_fail "the export after reopening differs from the first: $(diff "$out/list-first.txt" "$out/list-second.txt" | head -5)"

kx_step "edit a second value in the reopened list and copy it to every axis"
# Rows: C10, C20, D01. Both columns must be the reopened axes for the
# comparison below to show the value on both sides.
edit_and_copy "$list" 1 "$second_value" ctrl+0
kx_shot "$list" list-second-edit

kx_step "compare the two axes"
kx_focus "$main"
kx_key alt+x Down Return
dialog=$(kx_wait_window '^Achsen vergleichen$')
kx_focus "$dialog"
# Controller and axis of side A, then of side B; the combo boxes jump to the
# entry that starts with the typed character.
kx_type "W"
kx_key Tab
kx_type "1"
kx_key Tab
kx_type "W"
kx_key Tab
kx_type "2"
kx_shot "$dialog" compare-dialog
kx_key Return
compare=$(kx_wait_window '^Achsvergleich – A: Wickelstation WS-1, Abwickler – B: Wickelstation WS-1, Aufwickler$')
kx_shot "$compare" axis-comparison

kx_step "export the comparison report"
export_report "$out/report.html"

kx_step "check the report"
for check in "C10 $edited_value" "C20 $second_value"; do
    coordinate=${check% *} value=${check#* }
    cells=$(report_cells "$out/report.html" "$coordinate")
    [[ "$cells" == "$value "*"|$value "* ]] \
        || kx_fail "the report's row $coordinate shows '$cells', expected $value on both axes"
done

kx_step "undo the Ctrl+0 copy"
kx_focus "$list"
kx_key ctrl+z
kx_shot "$list" list-copy-undone
export_report "$out/report-undone.html"
cells=$(report_cells "$out/report-undone.html" C20)
[[ "$cells" == "$second_value "* && "$cells" != *"|$second_value "* ]] \
    || kx_fail "after undoing the copy, the report's row C20 shows '$cells', expected $second_value on the first axis only"

kx_step "save and quit"
kx_focus "$main"
kx_key ctrl+s
kx_wait_title "$main" '^e2e-project\.kxproj – KX Suite$'
kx_key ctrl+q
kx_wait_app_exit

kx_step "done"
echo "end-to-end run passed"
