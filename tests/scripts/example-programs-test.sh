#!/usr/bin/env bash
# The example programs against the servers a developer meets, saying what
# happened:
#  - first-login against a server that accepts and never answers names the
#    wait it gave up after (it used to exit 1 after 20 s in silence);
#  - first-login against an address where something else answers 404 says
#    it is not the service (it used to say only "offline (player 0)"), and
#    against one where nothing answers prints no warning about the web
#    pages' manifest (that warning used to be the first line of every
#    failure);
#  - halcyon-demo interrupted (Ctrl-C) leaves no temporary folder behind;
#  - halcyon-demo against another server, which has no message broker and
#    whose records it cannot read, names the presence channel and the
#    location as left out, never as shown.
#
#   example-programs-test.sh HALCYON-LOCALSERVER HALCYON-DEMO FIRST-LOGIN
set -euo pipefail
localserver=$1
demo=$2
first_login=$3

source "$(dirname "$0")/shell-test-support.sh"
server_pid=
on_exit() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
}
mkdir "$work/tmp"
# Each program's temporary folders land here, where they can be counted.
export TMPDIR="$work/tmp"
unset HC_BROKER_DIR HC_BROKER_STOMP_TLS_PORT HC_BROKER_STOMP_PORT HC_BROKER_HTTP_PORT HC_BROKER_CA_FILE

start_server() {  # start_server ARGUMENT...: a halcyon-localserver of its own; sets url
  "$localserver" "$@" >"$work/server" &
  server_pid=$!
  for _ in $(seq 100); do
    if [ -s "$work/server" ] || ! kill -0 "$server_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  url=$(head -n 1 "$work/server")
  [ -n "$url" ] || { echo "halcyon-localserver did not start" >&2; exit 1; }
}
stop_server() {
  kill "$server_pid"
  wait "$server_pid" || true
  server_pid=
}

# expect NAME STATUS FILE LINE...: the last run ended with STATUS and FILE
# holds each LINE.
expect() {
  local name=$1 want=$2 file=$3 line
  shift 3
  if [ "$status" -ne "$want" ]; then
    fail "$name exited $status, not $want: $(tr '\n' ' ' <"$file")"
    return
  fi
  for line in "$@"; do
    grep -qF -- "$line" "$file" || fail "$name did not say \"$line\": $(tr '\n' ' ' <"$file")"
  done
}

# A server that accepts and never answers within the game's wait.
start_server --delay-ms 30000
status=0
SECONDS=0
"$first_login" "$url" --wait 2 >"$work/out" 2>"$work/err" || status=$?
expect "first-login against a silent server" 1 "$work/out" \
  "game: no answer from the server at $url within 2 s; the game stops waiting"
[ "$SECONDS" -le 10 ] || fail "first-login against a silent server took $SECONDS s to give up after 2"
stop_server

# Something that is not the service: every path answers 404.
start_server --root /elsewhere/
address=${url%elsewhere/}
status=0
"$first_login" "$address" >"$work/out" 2>"$work/err" || status=$?
expect "first-login against a 404 host" 1 "$work/out" "game: the address $address answered, but not as the service does: it is not the service"
if grep -q "warning.*manifest" "$work/err" && ! grep -q "manifest could not be read: the server answered 404" "$work/err"; then
  fail "first-login against a 404 host: the manifest's warning does not name the 404: $(tr '\n' ' ' <"$work/err")"
fi
stop_server

# Nothing answers at all: the reachability says so, and no warning about
# the web pages comes before it.
status=0
"$first_login" http://127.0.0.1:1/ >"$work/out" 2>"$work/err" || status=$?
expect "first-login against a closed port" 1 "$work/out" "game: the server at http://127.0.0.1:1/ cannot be reached"
if grep -q "warning.*manifest" "$work/err"; then
  fail "first-login against a closed port warned of the web pages' manifest: $(tr '\n' ' ' <"$work/err")"
fi
[ -z "$(ls -A "$TMPDIR")" ] || fail "first-login left $(ls "$TMPDIR") in TMPDIR"

# Ctrl-C in the middle of the demo: the program ends by it, its folder gone.
# Started as a job of its own, as a terminal's foreground program is: a
# script's plain background command would ignore SIGINT.
set -m
"$demo" --skip-pages >"$work/out" 2>&1 &
demo_pid=$!
set +m
for _ in $(seq 300); do
  if grep -q "^client: up" "$work/out" || ! kill -0 "$demo_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
kill -INT "$demo_pid"
status=0
wait "$demo_pid" || status=$?
[ "$status" -eq 130 ] || fail "halcyon-demo interrupted exited $status, not by SIGINT (130): $(tail -n 3 "$work/out" | tr '\n' ' ')"
if [ -n "$(ls -A "$TMPDIR")" ]; then
  fail "halcyon-demo interrupted left $(ls "$TMPDIR") in TMPDIR"
  rm -rf "${TMPDIR:?}/"*
fi

# Another server: no presence channel, and no record of the location to
# read back. The last line must not claim them.
start_server
status=0
"$demo" --server "$url" --skip-pages >"$work/out" 2>&1 || status=$?
stop_server
summary=$(grep '^halcyon-demo: ' "$work/out" | tail -n 1)
expect "halcyon-demo --server" 0 "$work/out" "presence: off (the server has no message broker)"
case $summary in
  "halcyon-demo: all went well: "*"; left out: "*"the presence channel"*) ;;
  *) fail "halcyon-demo --server does not sum up as left out what it did not show: $summary" ;;
esac
shown=${summary%%; left out:*}
left_out=${summary#*; left out: }
for part in "the presence channel" "the location"; do
  [[ $shown != *"$part"* ]] || fail "halcyon-demo --server claims $part: $summary"
  [[ $left_out == *"$part"*"("*")"* ]] || fail "halcyon-demo --server does not say why $part was left out: $summary"
done

finish "the example programs say what happened"
