// Faults that the end-to-end tests inject into the running updater. They are
// compiled only into the test variant of the program (VELNA_TEST_FAULTS); in
// the updater that ships they are empty and cost nothing.
#pragma once

#ifdef VELNA_TEST_FAULTS
// Throws std::runtime_error with the value of VELNA_FAULT_<place> when set.
void RaiseTestFault(const char* place);
// Whether VELNA_FAULT_<name> is set.
bool TestFaultSet(const char* name);
#else
inline void RaiseTestFault(const char*) {}
inline bool TestFaultSet(const char*) { return false; }
#endif
