#!/usr/bin/env bash
# The sanitizer pass runs a failed test once more only when LeakSanitizer's own tracer crashed
# after the test had passed; every real finding must still fail the pass at once.
set -uo pipefail
scripts="$(cd "$(dirname "$0")/../../scripts/sanitizers" && pwd)"
passed=0 failed=0

gtest_passed='[ RUN      ] A.B
[       OK ] A.B (1 ms)
[  PASSED  ] 1 test.'
tracer_crash='Tracer caught signal 11: addr=0x0 pc=0x4f8b3c sp=0x7f0c3a7fdd10
==4242==LeakSanitizer has encountered a fatal error.
==4242==HINT: For debugging, try setting environment variable LSAN_OPTIONS=verbosity=1:log_threads=1'
leak='==4242==ERROR: LeakSanitizer: detected memory leaks
Direct leak of 24 byte(s) in 1 object(s) allocated from:
SUMMARY: AddressSanitizer: 24 byte(s) leaked in 1 allocation(s).'

# expected verdict (0: run again, 1: fail at once) | test output
rows=(
  "0|$gtest_passed
$tracer_crash"
  "1|$gtest_passed
$leak
$tracer_crash"
  "1|[ RUN      ] A.B
x.cpp:3: Failure
[  FAILED  ] A.B (1 ms)
[  PASSED  ] 0 tests.
[  FAILED  ] 1 test, listed below:
$tracer_crash"
  "1|[ RUN      ] A.B
$tracer_crash"
  "1|$gtest_passed
x.cpp:7:5: runtime error: signed integer overflow
$tracer_crash"
  "1|$gtest_passed
==4242==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000010
$tracer_crash"
  "1|$gtest_passed
$leak"
)

for row in "${rows[@]}"; do
  expected="${row%%|*}"
  "$scripts/only-tracer-crash" <<<"${row#*|}"
  verdict=$?
  if [ "$verdict" = "$expected" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "verdict $verdict, expected $expected, for:"; echo "${row#*|}"; fi
done

# The output of one test is read out of CTest's log of a parallel run, where others surround it.
log="$(mktemp)"; trap 'rm -f "$log"' EXIT
for name in First.Test Second.Test Second.TestAgain; do
  cat >>"$log" <<LOG
1/3 Testing: $name
1/3 Test: $name
Output:
----------------------------------------------------------
output of $name
<end of output>
Test Failed.
"$name" end time: Dec 08 06:58 UTC
----------------------------------------------------------
LOG
done
extracted="$("$scripts/failed-test-output" "$log" Second.Test | grep -c '^output of')"
if [ "$extracted" = 1 ] && "$scripts/failed-test-output" "$log" Second.Test | grep -qx 'output of Second.Test'; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "the output of Second.Test was not read alone"; fi

# The whole pass, with CTest stood in for: the first run fails as the row says, a run again
# ends with the row's exit status.
run_pass() { # first-run output, exit of the run again -> exit of the pass; calls in $work/calls
  work="$(mktemp -d)"; mkdir -p "$work/bin" "$work/build/Testing/Temporary"
  printf '%s\n' "$1" >"$work/first-output"
  cat >"$work/bin/ctest" <<FAKE
#!/usr/bin/env bash
echo "\$*" >>"$work/calls"
if [ ! -e "$work/build/Testing/Temporary/LastTest.log" ]; then
  { echo "1/1 Test: Suite/A.B"; cat "$work/first-output"; echo '"Suite/A.B" end time: now'; } \
    >"$work/build/Testing/Temporary/LastTest.log"
  echo "7:Suite/A.B" >"$work/build/Testing/Temporary/LastTestsFailed.log"
  exit 8
fi
exit $2
FAKE
  chmod +x "$work/bin/ctest"
  PATH="$work/bin:$PATH" "$scripts/run-suite" "$work/build" >/dev/null
}
expect_pass() { # expected exit (0 or not), expected number of CTest runs, first output, exit again
  run_pass "$3" "$4"; local status=$? runs; runs="$(wc -l <"$work/calls")"
  if [ "$((status == 0))" = "$(($1 == 0))" ] && [ "$runs" = "$2" ]; then
    passed=$((passed + 1)); else failed=$((failed + 1)); echo "pass exited $status after $runs runs"; fi
  rm -rf "$work"
}
expect_pass 0 2 "$gtest_passed
$tracer_crash" 0
expect_pass 1 2 "$gtest_passed
$tracer_crash" 8
expect_pass 1 1 "$gtest_passed
$leak" 0
run_pass "$gtest_passed
$tracer_crash" 0
if tail -1 "$work/calls" | grep -qF -- '-R ^(Suite\/A\.B)$'; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "the test was not run again by its name alone: $(tail -1 "$work/calls")"; fi
rm -rf "$work"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
