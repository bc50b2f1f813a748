// The C++ runtime's default terminate handler prints the exception's
// demangled type to stderr, which a GUI program has not, and links the
// demangler and stdio into the executable for it. Nothing in the updater lets
// an exception escape (every entry from the system catches), so the plain
// abort is all that is needed here.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
