#include "phone_kit.h"
#include <wchar.h>
#include "aygshell.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "ui/template_walk.h"
#include "resource.h"

void PhonePageTest::SetUp()
{
    DeviceTest::SetUp();
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    if (towupper(current[0]) != L'C') SetCurrentDirectoryW(L"C:\\");
}

bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND)> &script)
{
    // Each opening starts one level above the folder last shown.
    std::wstring below = folder + L"\\x";
    EXPECT_LE(below.size(), (size_t)BROWSE_PATH_CHARS);
    lstrcpynW(g_browseFolder, below.c_str(), BROWSE_PATH_CHARS + 1);
    bool closed = false;
    HWND opened = NULL;
    bool drove = DriveModal(
        [&] {
            SendMessageW(GetDlgItem(page, button), BM_CLICK, 0, 0);
        },
        [&](HWND browser) {
            opened = browser;
            if (!IsWindowVisible(browser)) ShowWindow(browser, SW_SHOW);
            script(browser);
            // A dialog ended by EndDialog is hidden until its loop returns.
            closed = !(IsWindow(browser) && IsWindowVisible(browser));
            if (!closed) EndDialog(browser, IDCANCEL);
        });
    EXPECT_TRUE(drove) << "the browser did not open";
    EXPECT_TRUE(opened != NULL && opened != page);
    return closed;
}

HWND BrowserListOf(HWND browser)
{
    return GetDlgItem(browser, IDC_BROWSE_LIST);
}

static std::wstring ItemText(HWND list, int index)
{
    wchar_t text[600] = L"";
    LVITEMW item;
    ZeroMemory(&item, sizeof item);
    item.pszText = text;
    item.cchTextMax = 600;
    SendMessageW(list, LVM_GETITEMTEXTW, index, (LPARAM)&item);
    return text;
}

int BrowserItemNamed(HWND browser, const std::wstring &text)
{
    HWND list = BrowserListOf(browser);
    int count = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; i++)
        if (ItemText(list, i) == text) return i;
    return -1;
}

std::wstring BrowserLabel(HWND browser)
{
    return WindowText(GetDlgItem(browser, IDC_BROWSE_PATH));
}

void TapBrowserItemNamed(HWND browser, const std::wstring &text)
{
    int index = BrowserItemNamed(browser, text);
    ASSERT_GE(index, 0) << "no item of " << text.size() << " characters in the list";
    HWND list = BrowserListOf(browser);
    LVITEMW item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, index, (LPARAM)&item);
    NMITEMACTIVATE tap;
    ZeroMemory(&tap, sizeof tap);
    tap.hdr.hwndFrom = list;
    tap.hdr.idFrom = IDC_BROWSE_LIST;
    tap.hdr.code = NM_CLICK;
    tap.iItem = index;
    SendMessageW(browser, WM_NOTIFY, IDC_BROWSE_LIST, (LPARAM)&tap);
}

namespace {
struct BarSearch {
    HWND owner;
    HWND bar;
};

BOOL CALLBACK FindBarProc(HWND window, LPARAM param)
{
    BarSearch *search = (BarSearch *)param;
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) && !lstrcmpW(name, SIM_MENUBAR_CLASS) &&
        GetWindow(window, GW_OWNER) == search->owner) {
        search->bar = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

void PressBrowserSoftKey(HWND browser, UINT command)
{
    BarSearch search = {browser, NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindBarProc, (LPARAM)&search);
    ASSERT_TRUE(search.bar != NULL) << "the browser has no soft-key bar";
    HWND key = GetDlgItem(search.bar, command);
    ASSERT_TRUE(key != NULL) << "no soft key " << command;
    SendMessageW(key, BM_CLICK, 0, 0);
}

::testing::AssertionResult LaidOutAs(HWND page, UINT templateId)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(g_hInstance, found) : NULL;
    if (!loaded) return ::testing::AssertionFailure() << "no template " << templateId;
    TemplateWalk walk;
    TemplateHeader header;
    if (!TemplateWalkBegin(&walk, LockResource(loaded), SizeofResource(g_hInstance, found), &header))
        return ::testing::AssertionFailure() << "template " << templateId << " cannot be read";
    TemplateItem item;
    int checked = 0;
    while (TemplateWalkNext(&walk, &item)) {
        if (item.id == 0xFFFF) continue;
        RECT expected = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(page, &expected);
        HWND control = GetDlgItem(page, item.id);
        if (!control) return ::testing::AssertionFailure() << "the page has no control " << item.id;
        RECT actual;
        GetWindowRect(control, &actual);
        MapWindowPoints(NULL, page, (POINT *)&actual, 2);
        if (!EqualRect(&actual, &expected))
            return ::testing::AssertionFailure()
                   << "control " << item.id << " at " << actual.left << "," << actual.top << "-" << actual.right << ","
                   << actual.bottom << ", template " << templateId << " puts it at " << expected.left << ","
                   << expected.top << "-" << expected.right << "," << expected.bottom;
        checked++;
    }
    if (checked == 0) return ::testing::AssertionFailure() << "template " << templateId << " names no control";
    return ::testing::AssertionSuccess();
}

ScreenTurn::ScreenTurn(int shape) : turned_(SimRotate(shape) != FALSE)
{
    PumpMessages(50);
}

ScreenTurn::~ScreenTurn()
{
    SimRotate(SIM_PORTRAIT);
    PumpMessages(50);
}

int BroadcastsSince(int before)
{
    return SimBroadcastCount() - before;
}

void WriteUnterminated(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *text)
{
    std::wstring longer = std::wstring(text) + L"#";
    WriteRegRaw(root, key, name, REG_SZ, longer.c_str(), (DWORD)(wcslen(text) * sizeof(wchar_t)));
}

void WriteTextOfType(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const wchar_t *text)
{
    WriteRegRaw(root, key, name, type, text, (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)));
}
