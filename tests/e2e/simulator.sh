#!/usr/bin/env bash
# End-to-end road through the drive simulator: kx-suite-app started with
# --simulator on the sample project, a value edited in a variable parameter
# list, and mbpoll finds it in the simulator's registers; the simulator is
# killed, the application carries on, saves the project with its
# connections and quits cleanly.
#
#   simulator.sh APP_BINARY WORK_DIR SAMPLE_PROJECT
set -euo pipefail

# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
kx_test_arguments "$@"
simulator="$(dirname "$app")/kx-drive-sim"

rm -rf "$KX_WORK"
kx_setup
for tool in mbpoll ss pgrep; do
    command -v "$tool" > /dev/null || kx_fail "missing tool: $tool (run scripts/install-dependencies)"
done
project="$KX_WORK/simulated.kxproj"
edited_value="123.4"
edited_register_value=1234   # C10 holds tenths

kx_step "open the sample project connected to a simulator"
kx_start_app "$app" --simulator "$sample"
main=$(kx_wait_window ' – KX Suite$')
sim_pid=""
for _ in $(seq 100); do
    sim_pid=$(pgrep -P "$KX_APP_PID" -x kx-drive-sim || true)
    [ -n "$sim_pid" ] && break
    sleep 0.1
done
[ -n "$sim_pid" ] || kx_fail "the application started no simulator"
# Its last argument is the description it serves; its ports in controller order.
description=$(tr '\0' '\n' < "/proc/$sim_pid/cmdline" | tail -n 1)
ports=()
for _ in $(seq 100); do
    mapfile -t ports < <(ss -ltnpH 2>/dev/null | grep "pid=$sim_pid," | awk '{print $4}' | sed 's/.*://' | sort -n)
    [ ${#ports[@]} -ge 3 ] && break
    sleep 0.1
done
[ ${#ports[@]} -ge 3 ] || kx_fail "the simulator does not listen for three controllers (${ports[*]:-none})"
kx_log "simulator pid $sim_pid, ports ${ports[*]}, description $description"

kx_step "make a list on the winding station's axes"
kx_focus "$main"
kx_key alt+x Return
repository=$(kx_wait_window '^Variable Parameterlisten$')
kx_focus "$repository"
kx_key Down Return
kx_type "Simuliert"
kx_key Return
list=$(kx_wait_window '^Variable Pararameterliste - Simuliert$')
selection=$(kx_wait_window '^Antriebsregler auswählen$')
kx_focus "$selection"
kx_key End Up Up space Up space Return
kx_wait_window_gone '^Antriebsregler auswählen$'
kx_focus "$list"
kx_key Tab ctrl+a
kx_type "C10"
kx_key Return shift+Tab

kx_step "edit a value in the list"
kx_focus "$list"
kx_key Home Right Return ctrl+a
kx_type "$edited_value"
kx_key Return
kx_shot "$list" simulator-list-edited

kx_step "mbpoll reads the value from the simulator"
registers=$("$simulator" --print-map "$description" | awk -F'\t' '$1 == "Wickelstation WS-1" && $2 ~ /^[12]\.C10\[0\]$/ {sub("register ", "", $4); print $4}')
[ -n "$registers" ] || kx_fail "the map has no C10 of the winding station"
found=""
for _ in $(seq 100); do
    for register in $registers; do
        value=$(mbpoll -m tcp -p "${ports[1]}" -0 -1 -o 1 -r "$register" -t 4:int -B 127.0.0.1 2>/dev/null | sed -n 's/^\[[0-9]*\]:[[:space:]]*//p')
        [ "$value" = "$edited_register_value" ] && found=$register
    done
    [ -n "$found" ] && break
    sleep 0.1
done
[ -n "$found" ] || kx_fail "the simulator never held $edited_register_value in registers $registers"
kx_log "register $found holds $edited_register_value"

kx_step "kill the simulator"
kill -KILL "$sim_pid"
sleep 1
kx_app_running || kx_fail "the application ended with the simulator"
kx_shot "$list" simulator-list-after-loss

kx_step "save and quit"
kx_focus "$main"
kx_key ctrl+s
kx_save_dialog '^Projekt speichern unter$' "$project"
kx_wait_file "$project"
grep -aq '"connection"' "$project" || kx_fail "the saved project keeps no connection"
kx_focus "$main"
kx_key ctrl+q
kx_wait_app_exit
