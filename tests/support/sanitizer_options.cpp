// Linked into native sanitizer builds: the options apply under ctest and by hand alike.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}
extern "C" __attribute__((visibility("default"), used)) const char* __ubsan_default_options() {
  return "print_stacktrace=1:halt_on_error=1";
}
