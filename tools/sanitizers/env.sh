# Sourced (bash) before running sanitized programs: how the sanitizers report, and the leak
# suppressions for third-party libraries. Any finding ends the program with an error.
sanitizers_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Full unwinding on each allocation (slower) so that leak suppressions can match frames of
# libraries built without frame pointers.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:halt_on_error=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$sanitizers_dir/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
unset sanitizers_dir
