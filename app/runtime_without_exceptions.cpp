// The updater is built without C++ exceptions. The static C++ runtime still
// has a few places that would throw (an allocation that fails, a string that
// would grow past its maximum). Here they end the updater with the fatal
// report instead, and nothing links the exception machinery (the unwinder,
// its tables, the demangler).
#include "app/fatal_report.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail(const char* kind, const char* message) {
  ExitProcess(static_cast<UINT>(ShowFatalError(Error{kind, message})));
}

}  // namespace

// Allocation: out of memory is reported, never a silent end.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  Fail("EOutOfMemory", "Out of memory");
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// What the standard library's headers call where they would throw.
namespace std {
void __throw_bad_alloc() { Fail("EOutOfMemory", "Out of memory"); }
void __throw_bad_array_new_length() { Fail("EOutOfMemory", "Out of memory"); }
void __throw_length_error(const char* what) { Fail("std::length_error", what); }
void __throw_logic_error(const char* what) { Fail("std::logic_error", what); }
void __throw_out_of_range(const char* what) { Fail("std::out_of_range", what); }
void __throw_out_of_range_fmt(const char* what, ...) { Fail("std::out_of_range", what); }
void __throw_invalid_argument(const char* what) { Fail("std::invalid_argument", what); }
void __throw_bad_function_call() { Fail("std::bad_function_call", "bad function call"); }
}  // namespace std

// Nothing can throw, so nothing can reach terminate with an exception; the
// runtime's own handler would link the demangler and stdio to print one.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
