#!/usr/bin/env bash
# fleet_test.sh ORVENDALE_CLI: runs examples/fleet/playbook.yml on this machine (the example
# inventory's local host, one run) and checks what it leaves behind: one result file fetched,
# one session in the store, a report. fleet_max_busy_percent is 100: the idle check runs, but a
# test machine busy with a build does not stop it. ansible-playbook runs in a session of its own,
# so that whatever ends this script (its end, INT or TERM) ends it and all it started; if the
# script is killed outright, the parent-death signal ends ansible-playbook, and the runs it
# started end within their own timeout.
set -uo pipefail
program=$(realpath "$1")
cd "$(dirname "$0")/../.." || exit 1
work=$(mktemp -d)
session=

finish() {
  if [[ -n $session ]]; then
    pkill -TERM -s "$session"
    for _ in {1..50}; do
      pgrep -s "$session" >/dev/null || break
      sleep 0.1
    done
    pkill -KILL -s "$session"
  fi
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Ansible refuses a locale that is not UTF-8. Its files and the host's result directory
# (made where TMPDIR says) go to the temporary directory.
export LC_ALL=C.UTF-8 ANSIBLE_NOCOLOR=1 ANSIBLE_HOME="$work/ansible" TMPDIR="$work"
export ANSIBLE_LOCAL_TEMP="$work/ansible/local" ANSIBLE_REMOTE_TEMP="$work/ansible/remote"
# Started in the background and waited for, so that the traps run as soon as a signal comes.
setpriv --pdeathsig KILL setsid ansible-playbook -i examples/fleet/inventory.ini examples/fleet/playbook.yml \
  -e ansible_python_interpreter=auto_silent -e fleet_runs=1 -e fleet_max_busy_percent=100 \
  -e "orvendale_cli='$program' fleet_results_dir='$work/results'" \
  -e "fleet_store='$work/store.sqlite' fleet_report='$work/report.html'" &
session=$!
wait "$session"
status=$?

failed=0
fail() {
  echo "fleet: $*"
  failed=1
}
# A step of the playbook that failed, or a run that was invalid.
((status == 0)) || fail "ansible-playbook ended with exit status $status"
# A result not fetched, fetched into a folder per host instead of flat, or fetched twice.
shopt -s nullglob
results=("$work"/results/*)
((${#results[@]} == 1)) || fail "${#results[@]} result files fetched, not 1: ${results[*]}"
# The import skipped, given no file, the same file twice, or not given --store.
sessions=$(python3 -c 'import sqlite3, sys
store = sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True)
print(store.execute("SELECT count(*) FROM sessions").fetchone()[0])' "$work/store.sqlite" 2>&1)
[[ $sessions == 1 ]] || fail "the store does not hold 1 session: ${sessions##*$'\n'}"
# The report skipped, or written elsewhere.
[[ -s $work/report.html ]] || fail "no report, or an empty one, at fleet_report"
exit "$failed"
