// The handler an uncaught C++ exception ends a Windows module with. The runtime's default prints
// the exception's demangled type to standard error, which a windowed program has not, and so
// brings the whole demangler (some 50 KB of code that Wine keeps resident) into every module.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
