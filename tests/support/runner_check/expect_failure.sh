#!/usr/bin/env bash
# Runs COMMAND (the test runner on the crash probe) and passes only when the
# probe really ran (its first test finished) and the runner failed it.
#
#   expect_failure.sh COMMAND [ARGS...]
set -u
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
if ! grep -q '^\[       OK \] CrashProbe.RunsFirst' <<<"$out"; then
  echo "expect_failure: the crash probe did not run" >&2
  exit 1
fi
if grep -q '^\[       OK \] CrashProbe.NeverRuns' <<<"$out"; then
  echo "expect_failure: the probe did not end early" >&2
  exit 1
fi
if [ "$status" -eq 0 ]; then
  echo "expect_failure: a test program that ended early was reported as passed" >&2
  exit 1
fi
echo "expect_failure: the early end was reported as a failure (status $status)"
