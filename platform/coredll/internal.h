// What the parts of the simulated device's coredll.dll offer one another.
#ifndef COREDLL_INTERNAL_H
#define COREDLL_INTERNAL_H

#include <windows.h>

// registry_image.cpp: the per-test sandbox of the device registry. Begin redirects the
// four root keys of this process to a fresh subtree seeded with the factory values;
// End removes it and puts the roots back.
BOOL RegistrySandboxBegin(void);
void RegistrySandboxEnd(void);

// device_libraries.cpp: a procedure of a desktop library, which is loaded on the first
// call that needs it; NULL when the library or the procedure is missing.
FARPROC DesktopLibraryProc(const WCHAR *library, const char *name);

// keypaths.cpp: ends a test's read-only key.
void ForgetReadOnlyKey(void);

#endif
