# Sanitizer settings for running the test programs of a VELDRA_SANITIZE build; sourced by
# scripts/sanitizers/run-suite. Every report fails the test that caused it.
#
# new_delete_type_mismatch=0: the browser engine frees one of its own objects through a base
# type of another size when a page closes (inside libQt6WebEngineCore, nowhere in our code).
# AddressSanitizer cannot suppress that one report by library, so the check is off as a whole;
# every other heap check stays on.
#
# intercept_tls_get_addr=0: GCC 12's runtime watches __tls_get_addr to learn where the thread
# storage of libraries loaded at run time lies (Qt's plugins load libjpeg that way). It takes
# a block that starts 16 bytes into a page for an old glibc's header and reads a made-up range
# from it, and the leak checker then crashes scanning that range ("Tracer caught signal 11"),
# or would take foreign memory for roots. Where a block lands depends on every allocation
# before it, so installing any package can move it there. Without the interception nothing is
# lost: glibc allocates those blocks with malloc and keeps them in each thread's vector of
# them, which the checker reaches from the thread's own storage, so what they hold is still
# found and a block nothing holds is still reported (SanitizerPass test in tests/CMakeLists.txt).
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="new_delete_type_mismatch=0:detect_leaks=1:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
