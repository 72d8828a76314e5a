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
#
# Then what the scripts do once past their arguments, in copies of them
# with stand-ins: scripts/test and scripts/tsan stop the broker they started
# from a checkout whose path holds a space, and scripts/setup takes a
# package installed for two architectures as installed.
set -euo pipefail
source_root="$(cd "$(dirname "$0")/../.." && pwd)"

source "$(dirname "$0")/shell-test-support.sh"
copy="$work/repo"
mkdir -p "$copy" "$work/bin" "$work/tmp"
cp -R "$source_root/scripts" "$source_root/.ci" "$copy/"
mkdir "$copy/fuzz" "$copy/bench" "$copy/cmake"
# What the scripts read to check their arguments: the fuzz programs' names,
# the benchmark programs' options table, the project's CMake options.
cp "$source_root"/fuzz/*Fuzzer.cpp "$copy/fuzz/"
cp "$source_root/bench/options.txt" "$copy/bench/"
cp "$source_root/CMakeLists.txt" "$copy/"
cp "$source_root"/cmake/*.cmake "$copy/cmake/"
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

# A wrong argument: exit 2, one line that names it (outside the usage that
# may follow it, which names every option).
check_refused() {  # check_refused NAMED COMMAND...
  local named=$1 name
  shift
  name="$*"
  run "$name" "$@"
  cat "$work/out" "$work/err" >"$work/both"
  if [ "$status" -ne 2 ]; then
    fail "$name exited $status, not 2: $(head -n 2 "$work/both" | tr '\n' ' ')"
  elif [ "$(wc -l <"$work/both")" -ne 1 ] || ! sed 's/ (usage: .*)$//' "$work/both" | grep -F -- "$named" >/dev/null; then
    fail "$name did not name \"$named\" in one line: $(head -n 3 "$work/both" | tr '\n' ' ')"
  fi
}

for script in scripts/setup scripts/demo scripts/install scripts/test scripts/tsan scripts/fuzz scripts/bench \
  scripts/broker scripts/ci-demo .ci/run; do
  check_help "$script"
  check_refused --bulid-only "$script" --bulid-only
done
# An argument beside --help is read all the same.
for script in scripts/setup scripts/install scripts/tsan scripts/fuzz scripts/bench .ci/run; do
  check_refused --bogus "$script" --help --bogus
done
# Those that take no arguments read every one, an empty one too.
for script in scripts/setup .ci/run; do
  check_refused '"extra"' "$script" extra
  check_refused '"extra"' "$script" --help extra
  check_refused '""' "$script" "" --bogus
done
check_refused '"b"' .ci/run b a
check_refused --time scripts/fuzz --time
check_refused '"soon"' scripts/fuzz --time soon
# Each program is taken by its name, the first as well as the last: --jobs,
# after it, is what is refused.
for source in "$source_root"/fuzz/*Fuzzer.cpp; do
  check_refused --jobs scripts/fuzz "$(basename "$source" .cpp)" --jobs
done
check_refused NoSuchFuzzer scripts/fuzz NoSuchFuzzer
check_refused --server scripts/demo --server
check_refused -Dfoo scripts/tsan -Dfoo
check_refused -DHC_UNTIY=OFF scripts/tsan -DHC_UNTIY=OFF
check_refused --bogus scripts/tsan -DHC_UNITY=OFF -DCMAKE_BUILD_TYPE:STRING=Release --bogus
# scripts/bench knows the programs' options before it builds them.
check_refused --benchmark scripts/bench --benchmark
check_refused --benchmark_filer=x scripts/bench --benchmark_filer=x
check_refused --benchmark_filter scripts/bench --benchmark_filter
check_refused --benchmark_min_time=0.2s scripts/bench --benchmark_min_time=0.2s
check_refused --bogus scripts/bench --benchmark_filter=HCXml --rounds=3 --pending=10 --benchmark_time_unit=us --bogus
check_refused bogus scripts/broker bogus

# scripts/install's last line can be pasted into a shell whatever the
# prefix holds: here the build and the packages are stand-ins that succeed.
mkdir "$work/succeed"
for tool in cmake ctest apt-get sudo dpkg-query localedef; do
  printf '#!/bin/sh\nexit 0\n' >"$work/succeed/$tool"
  chmod +x "$work/succeed/$tool"
done
prefix="$work/a prefix's folder"
last=$(cd "$copy" && PATH="$work/succeed:$PATH" timeout 20 scripts/install "$prefix" </dev/null 2>&1 | tail -n 1)
pasted=$(eval "printf '%s|' ${last##*-DCMAKE_PREFIX_PATH=}" 2>&1) || true
if [ "$pasted" != "$prefix|" ]; then
  fail "scripts/install's last line, pasted, does not give the prefix back: $last"
fi

# scripts/test and scripts/tsan stop the broker they started, from a
# checkout whose path holds a space too (the exit trap used to paste the
# path into its text, and ran "…/a" instead). Here in a copy whose build
# succeeds at once, beside a stand-in broker that records its calls.
checkout="$work/a checkout"
mkdir -p "$checkout/scripts" "$checkout/build/test" "$checkout/build/tsan"
cp "$source_root/scripts/test" "$source_root/scripts/tsan" "$checkout/scripts/"
printf '#!/bin/sh\nexit 0\n' >"$checkout/scripts/setup"
printf '#!/bin/sh\necho "$*" >>"%s/broker-calls"\n[ "$1" != start ] || echo "HC_BROKER_DIR=\\"%s/the broker\\""\n' \
  "$work" "$work" >"$checkout/scripts/broker"
chmod +x "$checkout/scripts/setup" "$checkout/scripts/broker"
for script in scripts/test scripts/tsan; do
  : >"$work/broker-calls"
  (cd "$checkout" && PATH="$work/succeed:$PATH" timeout 20 "$script") >"$work/out" 2>&1 </dev/null || true
  if ! grep -qxF "stop $work/the broker" "$work/broker-calls"; then
    fail "$script from \"$checkout\" did not stop its broker: $(tr '\n' ';' <"$work/broker-calls") $(tail -n 2 "$work/out")"
  fi
done

# scripts/setup takes a package installed for two architectures, whose
# statuses dpkg-query gives one after the other, as installed: it used to
# ask apt-get for it at every run. A package removed but for its
# configuration is still fetched.
dpkg_says() {  # dpkg_says STATUS...: a dpkg-query that gives each STATUS, in its format, for every package
  local status
  printf '#!/bin/sh\nfor a; do case $a in -f=*) format=${a#-f=} ;; esac; done\n' >"$work/dpkg/dpkg-query"
  for status in "$@"; do
    printf 'printf "$(printf %%s "$format" | sed "s/\\${Status}/%s/")"\n' "$status" >>"$work/dpkg/dpkg-query"
  done
  chmod +x "$work/dpkg/dpkg-query"
}
mkdir "$work/dpkg"
cp "$work/bin/apt-get" "$work/dpkg/"
printf '#!/bin/sh\n"$@"\n' >"$work/dpkg/sudo"
printf '#!/bin/sh\nexit 0\n' >"$work/dpkg/localedef"
chmod +x "$work/dpkg/sudo" "$work/dpkg/localedef"
dpkg_says "install ok installed" "install ok installed"
(cd "$copy" && PATH="$work/dpkg:$PATH" timeout 20 scripts/setup) >"$work/out" 2>&1 </dev/null || true
if [ -s "$work/ran" ]; then
  fail "scripts/setup fetched packages installed for two architectures: $(head -n 1 "$work/ran")"
fi
rm -f "$work/ran"
dpkg_says "deinstall ok config-files"
(cd "$copy" && PATH="$work/dpkg:$PATH" timeout 20 scripts/setup) >"$work/out" 2>&1 </dev/null || true
grep -q "^apt-get update" "$work/ran" 2>/dev/null || fail "scripts/setup did not fetch a package that was removed"
rm -f "$work/ran"

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
