// The desktop libraries behind a few device services (file dialogs, file information).
// Under Wine, loading them with the device's core library costs every program of the
// device a good part of its start-up, and the dialog library brings the common
// controls with it: they are loaded on the first call that needs them instead.
#include <windows.h>
#include "internal.h"

FARPROC DesktopLibraryProc(const WCHAR *library, const char *name)
{
    // Loaded once and kept: the procedures handed out must stay valid.
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    return module ? GetProcAddress(module, name) : NULL;
}
