#!/usr/bin/env bash
# Runs the thread-storage probe under the sanitizer pass's own settings: blocks held only in the
# thread storage of a library loaded at run time are no leak and must not crash the leak
# checker, while a block nothing holds is still reported. Usage: sanitizer_pass_test.sh PROBE LIBRARY
set -uo pipefail
source "$(cd "$(dirname "$0")/../../scripts/sanitizers" && pwd)/options.sh"
probe="$1" library="$2"
status=0

held="$("$probe" "$library" 2>&1)"
if [ $? -ne 0 ] || grep -qE "LeakSanitizer|ERROR: AddressSanitizer" <<<"$held"; then
  echo "Blocks held in thread storage failed the leak check:"; echo "$held"; status=1
fi

lost="$("$probe" "$library" lose 2>&1)"
if ! grep -q "ERROR: LeakSanitizer: detected memory leaks" <<<"$lost" ||
   grep -q "LeakSanitizer has encountered a fatal error" <<<"$lost"; then
  echo "A lost block was not reported as a leak:"; echo "$lost"; status=1
fi
[ $status -eq 0 ] && echo "Thread storage is scanned, and a lost block is still reported."
exit $status
