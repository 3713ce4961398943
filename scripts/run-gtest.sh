#!/usr/bin/env bash
# Runs one GoogleTest program for ctest and fails it unless it really ran to
# the end. Under Wine a program that crashes can exit 0, so the exit code
# alone would report Passed while the cases after the crash never ran.
#
#   scripts/run-gtest.sh XML_FILE XML_ARG COMMAND [ARGS...]
#
# XML_FILE is where the result file lands (a host path, checked afterwards);
# XML_ARG is the same file as the program names it (a Z: path under Wine).
# The run passes only when COMMAND exits 0, its output ends with GoogleTest's
# closing summary, and the result file was written completely.
set -u
xml=$1
xml_arg=$2
shift 2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
rm -f "$xml"

"$@" "--gtest_output=xml:$xml_arg" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}

# The last line GoogleTest prints for a run: "[  PASSED  ] N tests." or the
# "N FAILED TESTS" line after the list of failures.
summary=$(grep -aE '^\[==========\] [0-9]+ tests? from [0-9]+ test (suites?|cases?) ran\.' "$log" | tail -n1)
if [ "$status" -ne 0 ]; then
  echo "run-gtest: the program exited with status $status" >&2
  exit "$status"
fi
if [ -z "$summary" ]; then
  echo "run-gtest: no closing summary: the program ended before all tests had run (a crash?)" >&2
  exit 1
fi
if ! grep -aq '</testsuites>' "$xml" 2>/dev/null; then
  echo "run-gtest: the result file $xml is missing or incomplete" >&2
  exit 1
fi
exit 0
