// Faults that the end-to-end tests inject into the running updater. They are
// compiled only into the test variant of the program (VELNA_TEST_FAULTS); in
// the updater that ships they are empty and cost nothing. The tests set them
// as text values under HKEY_CURRENT_USER\Software\VelnaTestFaults, read anew
// at each use, so that one run can go through several faults.
#pragma once

#ifdef VELNA_TEST_FAULTS
// Throws std::runtime_error with the fault's text when the value `place` is set.
void RaiseTestFault(const char* place);
// Whether the value `name` is set.
bool TestFaultSet(const char* name);
#else
inline void RaiseTestFault(const char*) {}
inline bool TestFaultSet(const char*) { return false; }
#endif
