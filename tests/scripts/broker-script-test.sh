#!/usr/bin/env bash
# scripts/broker under the faults it met: a TMPDIR it cannot make a folder
# in must stop it with a clear message and write nothing anywhere (it used
# to go on with an empty folder name and fill /), and a stop must leave no
# process of its node behind (its port mapper used to stay), nor may an
# interrupted start (its folder and booting node used to stay). Without
# rabbitmq-server it exits 77 (a skip for ctest), except under CI, where the
# broker is required.
set -euo pipefail
broker="$(cd "$(dirname "$0")/../.." && pwd)/scripts/broker"
if ! "$broker" available; then
  echo "rabbitmq-server is not installed"
  [ "${CI:-}" = true ] && exit 1
  exit 77
fi

source "$(dirname "$0")/shell-test-support.sh"
marker="$work/marker"
touch "$marker"

# Folders no folder can be made in, for root too: one that is not there and
# one that is a file.
touch "$work/a-file"
for tmp in "$work/missing" "$work/a-file"; do
  status=0
  TMPDIR=$tmp "$broker" start >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -ne 0 ] || fail "start with TMPDIR=$tmp succeeded"
  [ ! -s "$work/out" ] || fail "start with TMPDIR=$tmp printed settings: $(cat "$work/out")"
  grep -q "^broker: cannot make a folder in $tmp" "$work/err" ||
    fail "start with TMPDIR=$tmp did not say why: $(cat "$work/err")"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "start with TMPDIR=$tmp went on after the failure: $(cat "$work/err")"
done
# What an empty folder name would have written: its files at the root.
written=$(find / -maxdepth 1 -newer "$marker" \( -type f -o -name mnesia -o -name log -o -name plugins-expand \) 2>/dev/null)
[ -z "$written" ] || fail "files written at the root: $written"

# A node started and stopped leaves none of its processes: not the node, not
# its port mapper (nothing listens on its port), nothing naming its folder.
env_lines=$("$broker" start)
eval "$env_lines"
dir=$HC_BROKER_DIR
# shellcheck disable=SC1091
source "$dir/ports"
node_pid=$(cat "$dir/node.pid")
epmd_listening() { (exec 3<>"/dev/tcp/127.0.0.1/$epmd_port") 2>/dev/null; }
epmd_listening || fail "no port mapper listened on $epmd_port while the node ran"
"$broker" stop "$dir"
[ ! -e "$dir" ] || fail "the folder $dir stayed"
kill -0 "$node_pid" 2>/dev/null && fail "the node $node_pid still runs"
epmd_listening && fail "a port mapper still listens on $epmd_port"
no_process_names() {  # no_process_names TEXT WHAT: fails for each process whose command line holds TEXT
  local cmdline
  for cmdline in /proc/[0-9]*/cmdline; do
    if tr '\0' ' ' 2>/dev/null <"$cmdline" | grep -q -F -- "$1"; then
      case $(cat "${cmdline%/cmdline}/comm" 2>/dev/null) in
        grep | tr | bash) ;;
        *) fail "$2 left a process: $(tr '\0' ' ' <"$cmdline" | cut -c1-120)" ;;
      esac
    fi
  done
}
no_process_names "$dir/" "stop"

# Interrupted while the node boots (Ctrl-C in scripts/demo): nothing of it
# stays, and the script ends by the interruption, so its caller stops too.
mkdir "$work/interrupted"
set -m
TMPDIR="$work/interrupted" "$broker" start >"$work/out" 2>&1 &
starting=$!
set +m
for _ in $(seq 1 100); do
  [ -z "$(find "$work/interrupted" -name start.out)" ] || break
  sleep 0.1
done
kill -INT -- -"$starting"
status=0
wait "$starting" || status=$?
[ "$status" -eq 130 ] || fail "an interrupted start exited $status, not by SIGINT (130)"
[ -z "$(ls -A "$work/interrupted")" ] || fail "an interrupted start left $(ls "$work/interrupted")"
no_process_names "$work/interrupted/" "an interrupted start"

# A folder it did not make is never stopped (nor removed).
mkdir "$work/not-a-broker"
echo "epmd_port=1" >"$work/not-a-broker/ports"
"$broker" stop "$work/not-a-broker" 2>"$work/err" && fail "stop took a folder it did not make"
[ -d "$work/not-a-broker" ] || fail "stop removed a folder it did not make"

finish "scripts/broker: all checks passed"
