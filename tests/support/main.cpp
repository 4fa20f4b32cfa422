#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include "app/rudore.h"

int main(int argc, char **argv)
{
    // Tests run the program's windows from the test executable, which carries the
    // program's resources.
    g_hInstance = GetModuleHandleW(NULL);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
