// The page contract shared by every tweak page.
#include "ui/page.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "aygshell.h"

void InitPageWithShell(HWND page)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, page, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
}

void RelayoutPage(HWND page, const PageDescriptor &descriptor)
{
    ReflowDialogFromTemplate(g_hInstance, page,
                             ChooseLayoutVariant(descriptor.portrait, descriptor.landscape, descriptor.square));
}

BOOL ShowHelpOfButton(HWND page, const HelpTable &table, UINT control)
{
    for (int i = 0; i < table.count; i++) {
        if (table.rows[i].button == control) {
            MessageBoxW(page, table.rows[i].text, L"Help", MB_OK | table.rows[i].icon);
            return TRUE;
        }
    }
    return FALSE;
}

void ForwardDoneToHost(HWND page)
{
    SendMessageW(GetParent(page), WM_COMMAND, IDOK, 0);
}
