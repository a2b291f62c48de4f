// The C++ runtime's error paths, cut down for Windows modules. Nothing in our modules catches an
// exception, so every one the runtime would throw ends the module; these end it at once instead.
// That keeps out what the runtime's own versions drag in: the demangler (the default handler
// prints the exception's type to standard error, which a windowed program has not) and every
// standard exception class with its strings in both ABIs. Wine keeps a module's code resident in
// full, so that is working set in every process that loads the module.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
[[noreturn]] void __throw_bad_exception() {
    abort();
}
[[noreturn]] void __throw_bad_alloc() {
    abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    abort();
}
[[noreturn]] void __throw_bad_cast() {
    abort();
}
[[noreturn]] void __throw_bad_typeid() {
    abort();
}
[[noreturn]] void __throw_logic_error(const char *) {
    abort();
}
[[noreturn]] void __throw_domain_error(const char *) {
    abort();
}
[[noreturn]] void __throw_invalid_argument(const char *) {
    abort();
}
[[noreturn]] void __throw_length_error(const char *) {
    abort();
}
[[noreturn]] void __throw_out_of_range(const char *) {
    abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char *, ...) {
    abort();
}
[[noreturn]] void __throw_runtime_error(const char *) {
    abort();
}
[[noreturn]] void __throw_range_error(const char *) {
    abort();
}
[[noreturn]] void __throw_overflow_error(const char *) {
    abort();
}
[[noreturn]] void __throw_underflow_error(const char *) {
    abort();
}
[[noreturn]] void __throw_system_error(int) {
    abort();
}
[[noreturn]] void __throw_bad_function_call() {
    abort();
}
} // namespace std
