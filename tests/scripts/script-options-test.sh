#!/usr/bin/env bash
# Every script and program the README names answers --help with a "usage:"
# line and its options with their defaults (exit 0), and refuses a mistyped
# option, or one without its value, in one line that names it (exit 2),
# before anything is installed, built, started or written. They used to
# start the whole sanitized build, the ThreadSanitizer suite or the CI demo
# on --help.
#
#   script-options-test.sh [PROGRAM-PATH...]   the built programs to check
#                                              too (halcyon-localserver,
#                                              halcyon-demo, first-login)
#
# The scripts run in a throwaway copy of the repository's scripts, with the
# tools a build or a run would call (cmake, apt-get, openssl, ...) replaced
# by stand-ins that record the call: a call, or any file written in the copy
# or in TMPDIR, is work that started.
set -euo pipefail
source_root="$(cd "$(dirname "$0")/../.." && pwd)"

source "$(dirname "$0")/shell-test-support.sh"
copy="$work/repo"
mkdir -p "$copy" "$work/bin" "$work/tmp"
cp -R "$source_root/scripts" "$source_root/.ci" "$copy/"
mkdir "$copy/fuzz"
cp "$source_root"/fuzz/*Fuzzer.cpp "$copy/fuzz/"
for tool in cmake ctest ninja make apt-get sudo dpkg-query localedef clang clang++ g++ openssl epmd ccache; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/ran"\nexit 1\n' "$tool" "$work" >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
export PATH="$work/bin:$PATH" TMPDIR="$work/tmp"
unset HC_BROKER_DIR CI

listing() { (cd "$copy" && find . | sort) && find "$work/tmp" | sort; }
listing >"$work/before"

# run NAME COMMAND...: its status in $status, its output in $work/out and
# $work/err; fails the test when it started any work.
run() {
  local name=$1
  shift
  status=0
  (cd "$copy" && timeout 20 "$@") >"$work/out" 2>"$work/err" </dev/null || status=$?
  if [ -s "$work/ran" ]; then
    fail "$name started work: $(head -n 3 "$work/ran" | tr '\n' ';')"
    rm -f "$work/ran"
  fi
  listing >"$work/after"
  if ! cmp -s "$work/before" "$work/after"; then
    fail "$name wrote files: $(diff "$work/before" "$work/after" | grep '^>' | head -n 3 | tr '\n' ' ')"
    rm -rf "${work:?}/tmp/"* "$copy/build"
  fi
}

# --help: "usage:" first, exit 0; every option of the usage line explained,
# with its default.
check_help() {  # check_help COMMAND...
  local name="$* --help" option
  run "$name" "$@" --help
  if [ "$status" -ne 0 ]; then
    fail "$name exited $status: $(head -n 2 "$work/err" | tr '\n' ' ')"
    return
  fi
  if ! head -n 1 "$work/out" | grep -q '^usage: '; then
    fail "$name does not begin with a usage line: $(head -n 1 "$work/out")"
    return
  fi
  for option in $(head -n 1 "$work/out" | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! tail -n +2 "$work/out" | grep -qE -- "^ +$option"; then
      fail "$name does not explain $option"
    fi
  done
  if head -n 1 "$work/out" | grep -q -- '\[' && ! grep -q '(default' "$work/out"; then
    fail "$name gives no defaults"
  fi
}

# A wrong argument: exit 2, one line that names it.
check_refused() {  # check_refused NAMED COMMAND...
  local named=$1 name
  shift
  name="$*"
  run "$name" "$@"
  cat "$work/out" "$work/err" >"$work/both"
  if [ "$status" -ne 2 ]; then
    fail "$name exited $status, not 2: $(head -n 2 "$work/both" | tr '\n' ' ')"
  elif [ "$(wc -l <"$work/both")" -ne 1 ] || ! grep -qF -- "$named" "$work/both"; then
    fail "$name did not name \"$named\" in one line: $(head -n 3 "$work/both" | tr '\n' ' ')"
  fi
}

for script in scripts/setup scripts/demo scripts/install scripts/test scripts/tsan scripts/fuzz scripts/bench \
  scripts/broker scripts/ci-demo .ci/run; do
  check_help "$script"
  check_refused --bulid-only "$script" --bulid-only
done
check_refused --time scripts/fuzz --time
check_refused '"soon"' scripts/fuzz --time soon
check_refused --jobs scripts/fuzz JsonDecoderFuzzer --jobs
check_refused NoSuchFuzzer scripts/fuzz NoSuchFuzzer
check_refused --server scripts/demo --server
check_refused --benchmark scripts/bench --benchmark
check_refused bogus scripts/broker bogus

for program in "$@"; do
  name=$(basename "$program")
  program="$(cd "$(dirname "$program")" && pwd)/$name"
  check_help "$program"
  check_refused --bulid-only "$program" --bulid-only
  case $name in
    halcyon-localserver)
      check_refused --port "$program" --port
      check_refused '"eighty"' "$program" --port eighty
      ;;
    halcyon-demo) check_refused --seconds "$program" --seconds ;;
    first-login)
      check_refused --wait "$program" --wait
      check_refused '"later"' "$program" --wait later http://127.0.0.1:1/
      ;;
  esac
done

finish "every script and program answers --help and refuses a wrong option before any work"
