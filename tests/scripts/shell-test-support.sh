# What the shell tests share, sourced by each: failures counted rather than
# ending the test at the first, and a work folder removed on exit (after
# `on_exit`, which a test may define to stop what it started).
#
#   fail MESSAGE   counts a failure and prints it
#   finish PASSED  exits 1 after any failure, or prints PASSED

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
  fi
  echo "$1"
}

work=$(mktemp -d)
on_exit() { :; }
trap 'on_exit; rm -rf -- "$work"' EXIT
