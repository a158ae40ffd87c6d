# Sanitizer settings for running the test programs of a VELDRA_SANITIZE build; sourced by
# scripts/test. Every report fails the test that caused it.
#
# new_delete_type_mismatch=0: the browser engine frees one of its own objects through a base
# type of another size when a page closes (inside libQt6WebEngineCore, nowhere in our code).
# AddressSanitizer cannot suppress that one report by library, so the check is off as a whole;
# every other heap check stays on.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="new_delete_type_mismatch=0:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
