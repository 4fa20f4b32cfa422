// What the parts of the simulated device's coredll.dll offer one another.
#ifndef COREDLL_INTERNAL_H
#define COREDLL_INTERNAL_H

#include <windows.h>

// registry_image.cpp: the per-test sandbox of the device registry. Begin redirects the
// four root keys of this process to a fresh subtree seeded with the factory values;
// End removes it and puts the roots back.
BOOL RegistrySandboxBegin(void);
void RegistrySandboxEnd(void);

// keypaths.cpp: ends a test's read-only key.
void ForgetReadOnlyKey(void);

#endif
