/* The Pocket PC shell's interface (aygshell.dll), imported by ordinal. */
#ifndef AYGSHELL_H
#define AYGSHELL_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef SIM_BUILDING_AYGSHELL
#define AYGAPI __declspec(dllexport)
#else
#define AYGAPI __declspec(dllimport)
#endif

/* SHInitDialog */
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND  hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

/* SHCreateMenuBar: a bar from a menu-bar resource, or an empty one */
#define SHCMBF_EMPTYBAR 0x0001

typedef struct tagSHMENUBARINFO {
    DWORD     cbSize;
    HWND      hwndParent;
    DWORD     dwFlags;
    UINT      nToolBarId;
    HINSTANCE hInstRes;
    int       nBmpId;
    int       cBmpImages;
    HWND      hwndMB;
    COLORREF  clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

/* Menu-bar messages */
#define SHCMBM_OVERRIDEKEY (WM_USER + 403)
#define SHMBOF_NODEFAULT 0x00000001
#define SHMBOF_NOTIFY 0x00000002

/* The menu-bar resource (RCDATA): WORD menu id, WORD button count, then per button
 * seven WORDs: image, command, state, style, string id, 0, popup index or NOMENU. */
#define NOMENU 0xFFFF
#define I_IMAGENONE (-2)

/* SHDoneButton */
#define SHDB_SHOW 0x0001
#define SHDB_HIDE 0x0002

/* SHHandleWMActivate / SHHandleWMSettingChange */
#define SHA_INPUTDIALOG 0x00000001      /* a dialog: it keeps its own focus */
#ifndef SPI_SETSIPINFO
#define SPI_SETSIPINFO 224              /* the input panel moved */
#endif
#define SETTINGCHANGE_RESET 0x3002      /* the screen was re-laid out */
typedef struct {
    DWORD cbSize;
    HWND  hwndLastFocus;
    UINT  fSipUp : 1;
    UINT  fSipOnDeactivation : 1;
    UINT  fActive : 1;
    UINT  fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

AYGAPI BOOL WINAPI SHInitExtraControls(void);                              /* ordinal 9 */
AYGAPI BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info);                   /* ordinal 34 */
AYGAPI BOOL WINAPI SHInitDialog(PSHINITDLGINFO info);                      /* ordinal 56 */
AYGAPI BOOL WINAPI SHDoneButton(HWND window, DWORD state);                 /* ordinal 69 */
AYGAPI BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam,
                                           SHACTIVATEINFO *info);          /* ordinal 83 */
AYGAPI BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam,
                                      SHACTIVATEINFO *info, DWORD flags);  /* ordinal 84 */

/* The simulated shell's own windows, which tests find and drive with ordinary window
 * calls. The navigation bar (one per process, top of the screen) has as text the title
 * of the window it serves, and a Done key with id IDOK and text "ok", shown while that
 * window asked for one. A soft-key bar's keys are its children, with their labels as
 * text and their commands as ids. Keys answer BM_CLICK like push buttons, but only
 * while visible and enabled, and never take the focus. */
#define SIM_NAVBAR_CLASS L"SimShellNavBar"
#define SIM_MENUBAR_CLASS L"SimShellMenuBar"
#define SIM_SOFTKEY_CLASS L"SimShellKey"

/* Looked up by name at run time ("ExitWindowsEx" in "aygshell.dll"). */
typedef BOOL (WINAPI *ShellExitWindowsExProc)(UINT flags, DWORD reserved);

#ifdef __cplusplus
}
#endif

#endif
