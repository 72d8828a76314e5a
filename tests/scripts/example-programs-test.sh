#!/usr/bin/env bash
# The example programs against the servers a developer meets, saying what
# happened:
#  - first-login against a server that accepts and never answers names the
#    wait it gave up after (it used to exit 1 after 20 s in silence);
#  - first-login against an address where something else answers 404 or
#    501 says it is not the service (it used to say only "offline (player
#    0)"), and against one where nothing answers prints no warning about the
#    web pages' manifest (that warning used to be the first line of every
#    failure);
#  - first-login against the service failing behind its proxy (500, 503,
#    401 or the maintenance status 450, each with an HTML page) names the
#    status and says the service is failing or under maintenance, never
#    that it is not the service (it used to);
#  - copies of first-login at once each keep a folder of their own: one
#    that ends leaves the other's in place (they used to share one, and
#    break each other's database), and every copy logs in;
#  - halcyon-demo interrupted (Ctrl-C) leaves no temporary folder behind,
#    in the middle of a run and as early as it can be, just after the
#    folder was made (that moment used to leave it);
#  - both against an address that answers the log-in oddly and then not
#    at all say nothing answered (they used to say it answered, "status 0");
#  - halcyon-demo against a silent server gives up after its wait, in the
#    words first-login uses (it used to wait out every step, 211 s), and
#    against a 404 host says it is not the service (it used to say the
#    server cannot be reached);
#  - halcyon-demo against another server, which has no message broker and
#    whose records it cannot read, names the presence channel and the
#    location as left out, never as shown; against one with a broker (when
#    the environment names one) it says so and has the client try no
#    presence host (it used to say "no message broker" while the client
#    tried the built-in host seven times).
#
#   example-programs-test.sh HALCYON-LOCALSERVER HALCYON-DEMO FIRST-LOGIN
set -euo pipefail
localserver=$1
demo=$2
first_login=$3

source "$(dirname "$0")/shell-test-support.sh"
# A message broker handed down (scripts/test's, CI's), for the case that
# needs one; the demo itself must not find it.
broker_stomp_port=${HC_BROKER_STOMP_PORT:-}
broker_http_port=${HC_BROKER_HTTP_PORT:-}
unset HC_BROKER_DIR HC_BROKER_STOMP_TLS_PORT HC_BROKER_STOMP_PORT HC_BROKER_HTTP_PORT HC_BROKER_CA_FILE
server_pid=
started=()
on_exit() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
}
mkdir "$work/tmp"
# Each program's temporary folders land here, where they can be counted.
export TMPDIR="$work/tmp"

# wait_for CONDITION...: until the command succeeds, 30 s at most.
wait_for() {
  for _ in $(seq 300); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}
serve() {  # serve COMMAND...: a server of the test's own, whose first line is its address; sets url
  # Emptied here: the background command's own redirection may come after
  # the first look, which would read the last server's address.
  : >"$work/server"
  "$@" >"$work/server" &
  server_pid=$!
  started+=("$server_pid")
  wait_for server_said_where || true
  url=$(head -n 1 "$work/server")
  [ -n "$url" ] || { echo "$1 did not start" >&2; exit 1; }
}
server_said_where() { [ -s "$work/server" ] || ! kill -0 "$server_pid" 2>/dev/null; }
start_server() {  # start_server ARGUMENT...: a halcyon-localserver of its own
  serve "$localserver" "$@"
}
# A web server that answers every request with STATUS and an HTML page, as
# the proxy in front of a failing service does (one process per connection).
# With "quiet-root" it closes a plain GET of / unanswered.
start_status_server() {  # start_status_server STATUS [quiet-root]
  serve perl -MIO::Socket::INET -e '
    my ($status, $quiet_root) = @ARGV;
    my $listener = IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0, Listen => 64, ReuseAddr => 1)
      or die "listen: $!";
    $| = 1;
    print "http://127.0.0.1:", $listener->sockport, "/\n";
    $SIG{CHLD} = "IGNORE";
    my $page = "<html><head><title>$status</title></head><body><h1>Error $status</h1></body></html>";
    while (1) {
      my $client = $listener->accept or next;
      if (fork) { close $client; next; }
      my $length = 0;
      my $request = <$client> // "";
      exit 0 if $quiet_root && $request =~ m{^GET / HTTP};
      while (my $line = <$client>) {
        $length = $1 if $line =~ /^Content-Length:\s*(\d+)/i;
        last if $line =~ /^\r?\n$/;
      }
      read($client, my $body, $length) if $length;
      print $client "HTTP/1.1 $status Status\r\nContent-Type: text/html\r\nContent-Length: ", length($page),
        "\r\nConnection: close\r\n\r\n", $page;
      exit 0;
    }' "$@"
}
stop_server() {
  kill "$server_pid"
  wait "$server_pid" || true
  server_pid=
}
# The demo (or a copy of first-login) as a terminal's foreground program
# is: a job of its own, since a script's plain background command ignores
# SIGINT.
start_job() {  # start_job OUTPUT COMMAND...: sets job_pid
  local output=$1
  shift
  set -m
  "$@" >"$output" 2>&1 &
  job_pid=$!
  set +m
  started+=("$job_pid")
}
running() { kill -0 "$job_pid" 2>/dev/null; }
tmp_is_empty() { [ -z "$(ls -A "$TMPDIR")" ]; }
tmp_holds_a_folder() { ! tmp_is_empty; }
check_tmp_empty() {  # check_tmp_empty NAME
  if ! tmp_is_empty; then
    fail "$1 left $(ls "$TMPDIR") in TMPDIR"
    rm -rf "${TMPDIR:?}/"*
  fi
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
# The demo gives up there too, at once, in the same words.
status=0
SECONDS=0
"$demo" --server "$url" --seconds 2 --skip-pages >"$work/out" 2>&1 || status=$?
expect "halcyon-demo against a silent server" 1 "$work/out" \
  "halcyon-demo: FAILED: no answer from the server at $url within 2 s; the demo stops waiting"
[ "$SECONDS" -le 30 ] || fail "halcyon-demo against a silent server took $SECONDS s to give up after 2"
stop_server

# Something that is not the service: every path answers 404.
start_server --root /elsewhere/
address=${url%elsewhere/}
status=0
"$first_login" "$address" >"$work/out" 2>"$work/err" || status=$?
expect "first-login against a 404 host" 1 "$work/out" \
  "game: the address $address answered 404, but not as the service does: it is not the service"
if grep -q "warning.*manifest" "$work/err" && ! grep -q "manifest could not be read: the server answered 404" "$work/err"; then
  fail "first-login against a 404 host: the manifest's warning does not name the 404: $(tr '\n' ' ' <"$work/err")"
fi
status=0
"$demo" --server "$address" --skip-pages >"$work/out" 2>&1 || status=$?
expect "halcyon-demo against a 404 host" 1 "$work/out" "halcyon-demo: FAILED: the address $address answered 404, but \
not as the service does: it is not the service; the player is offline"
stop_server

# A web server that does not implement what the client asks is no service
# either; the service failing behind its proxy, or under maintenance, is.
for answer in 501 500 503 401 450; do
  start_status_server "$answer"
  status=0
  "$first_login" "$url" --wait 10 >"$work/out" 2>"$work/err" || status=$?
  stop_server
  if [ "$answer" = 501 ]; then
    expect "first-login against a $answer host" 1 "$work/out" \
      "game: the address $url answered 501, but not as the service does: it is not the service"
    continue
  fi
  expect "first-login against a service answering $answer" 1 "$work/out" "game: the address $url answered $answer: \
the service (or what stands in front of it) is failing or under maintenance"
  if grep -q "not the service" "$work/out"; then
    fail "first-login calls a service answering $answer not the service: $(tr '\n' ' ' <"$work/out")"
  fi
done

# The log-in answered oddly, and then nothing answers the second look at
# the address: both programs say nothing answered (they used to say it
# "answered, but not as the service does (status 0)").
start_status_server 404 quiet-root
status=0
"$first_login" "$url" --wait 10 >"$work/out" 2>"$work/err" || status=$?
expect "first-login, no answer to the second look" 1 "$work/out" \
  "game: no answer from the server at $url when asked again; it answered the log-in, but not as the service does"
status=0
"$demo" --server "$url" --skip-pages >"$work/out" 2>&1 || status=$?
expect "halcyon-demo, no answer to the second look" 1 "$work/out" "halcyon-demo: FAILED: no answer from the server at \
$url when asked again; it answered the log-in, but not as the service does; the player is offline"
stop_server

# Nothing answers at all: the reachability says so, and no warning about
# the web pages comes before it.
status=0
"$first_login" http://127.0.0.1:1/ >"$work/out" 2>"$work/err" || status=$?
expect "first-login against a closed port" 1 "$work/out" "game: the server at http://127.0.0.1:1/ cannot be reached"
if grep -q "warning.*manifest" "$work/err"; then
  fail "first-login against a closed port warned of the web pages' manifest: $(tr '\n' ' ' <"$work/err")"
fi
check_tmp_empty "first-login"

# Copies of first-login at once. One waits on a silent server, holding its
# folder, while another logs in and ends: the first one's folder must
# outlive the second's end. (The first is then stopped; its folder goes with
# the test's.)
start_server --delay-ms 60000
silent_pid=$server_pid
start_job "$work/waiting" "$first_login" "$url" --wait 60
wait_for tmp_holds_a_folder || true
folders_before=$(ls "$TMPDIR")
start_server
served=$url
status=0
"$first_login" "$served" >"$work/out" 2>&1 || status=$?
expect "first-login beside another copy" 0 "$work/out" "game: player "
if [ -z "$folders_before" ] || [ "$(ls "$TMPDIR")" != "$folders_before" ]; then
  fail "first-login's end took another copy's folder ($folders_before) with it: TMPDIR holds \"$(ls "$TMPDIR")\""
fi
running || fail "first-login beside another copy: the waiting copy ended early: $(tr '\n' ' ' <"$work/waiting")"
kill "$job_pid"
wait "$job_pid" || true
rm -rf "${TMPDIR:?}/"*
# Four at once against one server: each logs in, none ends on an error.
copies=()
for copy in 1 2 3 4; do
  "$first_login" "$served" >"$work/copy$copy" 2>&1 &
  copies+=($!)
done
for copy in 1 2 3 4; do
  status=0
  wait "${copies[copy - 1]}" || status=$?
  expect "first-login, copy $copy of 4 at once" 0 "$work/copy$copy" "game: player "
done
stop_server
server_pid=$silent_pid
stop_server
check_tmp_empty "copies of first-login"

# Ctrl-C in the middle of the demo: the program ends by it, its folder gone.
start_job "$work/out" "$demo" --skip-pages
wait_for grep -q "^client: up" "$work/out" || true
kill -INT "$job_pid"
status=0
wait "$job_pid" || status=$?
[ "$status" -eq 130 ] || fail "halcyon-demo interrupted exited $status, not by SIGINT (130): $(tail -n 3 "$work/out" | tr '\n' ' ')"
check_tmp_empty "halcyon-demo interrupted"

# Ctrl-C as early as can be: just after the demo made its folder. Its
# first line of output waits on a full pipe, after the folder and before
# the server or the client: whenever the signal comes while it waits, it
# is that early.
mkfifo "$work/pipe"
exec 3<>"$work/pipe"
perl -MFcntl -e 'sysopen(my $pipe, $ARGV[0], O_WRONLY | O_NONBLOCK) or die "$!";
  1 while syswrite($pipe, "x" x 4096); 1 while syswrite($pipe, "x");' "$work/pipe"
start_job "$work/pipe" "$demo" --skip-pages
wait_for tmp_holds_a_folder || true
kill -INT "$job_pid"
# The pipe drained, the demo goes on to its end.
exec 4<"$work/pipe" 3>&-
cat <&4 >/dev/null &
started+=("$!")
exec 4<&-
status=0
wait "$job_pid" || status=$?
[ "$status" -eq 130 ] || fail "halcyon-demo interrupted early exited $status, not by SIGINT (130)"
check_tmp_empty "halcyon-demo interrupted just after making its folder"

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

# Another server with a message broker: its log-in turns the channel on,
# which the demo says, leaving it out without the client trying a host.
if [ -n "$broker_stomp_port" ] && [ -n "$broker_http_port" ]; then
  start_server --broker-stomp-port "$broker_stomp_port" --broker-http-port "$broker_http_port"
  status=0
  "$demo" --server "$url" --skip-pages >"$work/out" 2>&1 || status=$?
  stop_server
  expect "halcyon-demo --server (with a broker)" 0 "$work/out" \
    "presence: off (the server has a message broker, but the demo shows the channel only with a server of its own)"
  if grep -q "presence: connection ended" "$work/out"; then
    fail "halcyon-demo --server (with a broker): the client tried a presence host: $(grep presence "$work/out" | tr '\n' ' ')"
  fi
else
  echo "note: no message broker in the environment (HC_BROKER_*): another server with one is not tried"
fi

finish "the example programs say what happened"
