// Faults that the end-to-end tests inject into the running updater. They are
// compiled only into the test variant of the program (VELNA_TEST_FAULTS); in
// the updater that ships they are empty and cost nothing. The tests set them
// as text values under HKEY_CURRENT_USER\Software\VelnaTestFaults, read anew
// at each use, so that one run can go through several faults.
#pragma once

#include "core/error.h"

#ifdef VELNA_TEST_FAULTS
// Fails with an error of `kind` and the fault's text when the value `place`
// is set.
Status TestFault(const char* place, const char* kind = "Exception");
// Whether the value `name` is set.
bool TestFaultSet(const char* name);
// Asks for more memory than a process can have when the value `name` is set.
void TestFaultExhaustMemory(const char* name);
#else
inline Status TestFault(const char*, const char* = nullptr) { return {}; }
inline bool TestFaultSet(const char*) { return false; }
inline void TestFaultExhaustMemory(const char*) {}
#endif
