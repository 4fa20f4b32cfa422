// The real program, started as its own process on the test device and driven with
// real taps.
#include <functional>
#include <windows.h>
#include <commctrl.h>
#include "testkit.h"
#include "aygshell.h"
#include "resource.h"

namespace {

// What `find` gives within `ms` milliseconds, or NULL.
HWND Await(const std::function<HWND()> &find, DWORD ms = 3000)
{
    for (DWORD end = GetTickCount() + ms; GetTickCount() < end; PumpMessages(20))
        if (HWND found = find()) return found;
    return NULL;
}

// Taps the middle of `at` until `find` gives a window: the first tap of a program just
// started may only activate it.
HWND TapUntil(const RECT &at, const std::function<HWND()> &find)
{
    HWND found = NULL;
    for (int attempt = 0; attempt < 3 && !found; attempt++)
        TapScreen((at.left + at.right) / 2, (at.top + at.bottom) / 2), found = Await(find);
    return found;
}

// The program beside the tests, ended however the test ends: left running, it would
// keep the test's output open.
struct Program {
    PROCESS_INFORMATION info = {};
    STARTUPINFOW startup = {sizeof startup};
    Program() { CreateProcessW(PathBesideTests(L"ZelvoRudore.exe").c_str(), NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info); }
    ~Program()
    {
        TerminateProcess(info.hProcess, 1), WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess), CloseHandle(info.hThread);
    }
};

HWND Shown(HWND window) { return window && IsWindowVisible(window) ? window : NULL; }

// A visible dialog of that title owned by `owner`.
HWND OwnedDialog(HWND owner, const wchar_t *title)
{
    HWND dialog = Shown(FindWindowW(L"#32770", title));
    return dialog && GetWindow(dialog, GW_OWNER) == owner ? dialog : NULL;
}

// Asks a control of another process through a copy of `local` lent in that process:
// `ask` gets the copy's address there, and `local` what the control left in it.
template <typename T> bool AskThroughLent(HANDLE process, T *local, const std::function<bool(BYTE *)> &ask)
{
    BYTE *lent = (BYTE *)VirtualAllocEx(process, NULL, sizeof *local, MEM_COMMIT, PAGE_READWRITE);
    bool got = lent && WriteProcessMemory(process, lent, local, sizeof *local, NULL) && ask(lent) &&
               ReadProcessMemory(process, lent, local, sizeof *local, NULL);
    if (lent) VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    return got;
}

// Where tab `index` of another process's tab control lies on the screen.
bool TabOnScreen(HANDLE process, HWND tabs, int index, RECT *rect)
{
    bool got = AskThroughLent(process, rect, [&](BYTE *lent) { return SendMessageW(tabs, TCM_GETITEMRECT, index, (LPARAM)lent) != 0; });
    if (got) MapWindowPoints(tabs, NULL, (POINT *)rect, 2);
    return got;
}

// Where the row of another process's list that shows `name` lies on the screen.
bool RowOnScreen(HANDLE process, HWND list, const wchar_t *name, RECT *rect)
{
    struct Asked { LVFINDINFOW find; RECT row; wchar_t name[MAX_PATH]; } asked = {{LVFI_STRING}, {LVIR_BOUNDS}};
    lstrcpynW(asked.name, name, MAX_PATH);
    bool got = AskThroughLent(process, &asked, [&](BYTE *lent) {
        // The list finds the name through its copy there.
        asked.find.psz = (LPCWSTR)(lent + offsetof(Asked, name));
        int item = WriteProcessMemory(process, lent, &asked.find, sizeof asked.find, NULL)
                       ? (int)SendMessageW(list, LVM_FINDITEMW, (WPARAM)-1, (LPARAM)lent) : -1;
        return item >= 0 && SendMessageW(list, LVM_GETITEMRECT, item, (LPARAM)(lent + offsetof(Asked, row))) != 0;
    });
    *rect = asked.row;
    if (got) MapWindowPoints(list, NULL, (POINT *)rect, 2);
    return got;
}

// The soft key of the main window's bar that shows `label`.
HWND SoftKey(HWND main, const wchar_t *label)
{
    HWND bar = NULL;
    while ((bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL)) != NULL && GetWindow(bar, GW_OWNER) != main) {}
    return bar ? FindWindowExW(bar, NULL, SIM_SOFTKEY_CLASS, label) : NULL;
}

// Taps the middle of `window` until `find` gives a window.
HWND TapOn(HWND window, const std::function<HWND()> &find)
{
    RECT at = {};
    return window && GetWindowRect(window, &at) ? TapUntil(at, find) : NULL;
}

// Real key presses, to whatever has the keyboard.
void Press(std::initializer_list<WORD> keys)
{
    for (WORD key : keys) {
        INPUT input[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        PumpMessages(50);
    }
}

void Type(const wchar_t *text)
{
    for (; *text; text++) {
        INPUT input[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};
        input[0].ki.wScan = input[1].ki.wScan = *text;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    PumpMessages(100);
}

// "Rudore" > "Tools" > the item `down` places below "Backup", tapped open and chosen
// with the keys: the last but one item of the menu, then into its own.
void ChooseTool(HWND main, int down)
{
    ASSERT_TRUE(TapOn(SoftKey(main, L"Rudore"), [] { return Shown(FindWindowW(L"#32768", NULL)); })) << "no menu";
    Press({VK_UP, VK_UP, VK_RIGHT});
    for (int i = 0; i < down; i++) Press({VK_DOWN});
    Press({VK_RETURN});
}

// The button of that label in a dialog of the program, tapped until `find` gives a window.
HWND TapButton(HWND dialog, const wchar_t *label, const std::function<HWND()> &find)
{
    return TapOn(FindWindowExW(dialog, NULL, L"Button", label), find);
}

// What a field of another process holds: typed text is its own, asked for with a message.
std::wstring FieldText(HWND field)
{
    wchar_t text[MAX_PATH] = L"";
    SendMessageW(field, WM_GETTEXT, MAX_PATH, (LPARAM)text);
    return text;
}

// What a message box says: its texts run together.
std::wstring BoxText(HWND box)
{
    std::wstring text;
    for (HWND child = NULL; (child = FindWindowExW(box, child, L"Static", NULL)) != NULL;) text += WindowText(child);
    return text;
}

// The page a tab control shows: its visible dialog child.
HWND ShownPage(HWND tabs)
{
    HWND child = FindWindowExW(tabs, NULL, L"#32770", NULL);
    while (child && !IsWindowVisible(child)) child = FindWindowExW(tabs, child, L"#32770", NULL);
    return child;
}

}  // namespace

// Each host opens by a tap on its hot row of the splash, every tab is tapped, in every
// shape; then "Exit" asks and "No" ends the program. The first dialog of the run is a
// host: the program loads no common controls of its own, and must find them all the same.
TEST(Program, EveryTabOfEveryHostShowsItsPageWhenTappedInEveryShape)
{
    const struct { int row; const wchar_t *title; int tabs; } hosts[] = {
        {4, L"Dialog", 5}, {0, L"Today Tricks", 3}, {3, L"System Tricks", 6}, {2, L"Phone Tricks", 4}};
    // The middle of hot row k lies at (250, first + k * step) in the main window.
    const struct { int shape, first, step; } shapes[] = {{SIM_PORTRAIT, 150, 60}, {SIM_LANDSCAPE, 65, 50}, {SIM_SQUARE, 87, 40}};

    ScreenTurn portrait(SIM_PORTRAIT);  // and back to portrait at the end
    Program program;
    HWND main = Await([] { return Shown(FindWindowW(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore")); }, 10000);
    ASSERT_TRUE(main != NULL);
    for (const auto &shape : shapes) {
        ASSERT_TRUE(SimRotate(shape.shape));
        PumpMessages(300);
        for (const auto &host : hosts) {
            SCOPED_TRACE(testing::Message() << "row " << host.row << " in shape " << shape.shape);
            POINT row = {250, shape.first + host.row * shape.step};
            ClientToScreen(main, &row);
            HWND dialog = TapUntil({row.x, row.y, row.x, row.y}, [&] { return OwnedDialog(main, host.title); });
            ASSERT_TRUE(dialog != NULL);
            HWND tabs = FindWindowExW(dialog, NULL, L"SysTabControl32", NULL);
            ASSERT_EQ(host.tabs, (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            // Every tab from the second to the last, then the first again.
            for (int step = 1; step <= host.tabs; step++) {
                int tab = step % host.tabs;
                RECT item, placed;
                ASSERT_TRUE(TabOnScreen(program.info.hProcess, tabs, tab, &item));
                // Between the top bar and the soft-key bar, where a tap reaches the host.
                int middle = (item.top + item.bottom) / 2;
                EXPECT_TRUE(middle >= SIM_BAR_HEIGHT && middle < GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT) << tab;
                HWND before = ShownPage(tabs);
                HWND page = TapUntil(item, [&] {
                    HWND shown = ShownPage(tabs);
                    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab && shown != before ? shown : NULL;
                });
                ASSERT_TRUE(page != NULL) << "tapping tab " << tab << " showed no page of its own";
                GetWindowRect(page, &placed);
                EXPECT_LE(placed.bottom, item.top) << "tab " << tab << "'s page lies over the tab strip";
            }
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            ASSERT_TRUE(Await([&] { return IsWindow(dialog) ? NULL : main; })) << "Done left the host open";
        }
    }

    // The soft key labelled "Exit", then "No" in the box it asks with.
    HWND exitKey = SoftKey(main, L"Exit");
    ASSERT_TRUE(exitKey != NULL) << "no soft key labelled Exit";
    RECT key;
    GetWindowRect(exitKey, &key);
    HWND no = TapUntil(key, [&] {
        HWND box = OwnedDialog(main, L"Confirm!");
        return box ? FindWindowExW(box, NULL, L"Button", L"&No") : NULL;
    });
    ASSERT_TRUE(no != NULL) << "no confirmation box";
    GetWindowRect(no, &key);
    EXPECT_TRUE(TapUntil(key, [&] {
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(program.info.hProcess, &code) && code == 0 ? main : NULL;
    }));
}

// The registry saved through the device's Save dialog, a name typed without an
// extension, and put back through its Open dialog with a tap on the file: after the
// soft reset the restore offers, a value changed since is the saved one again.
TEST(Program, BacksUpThroughTheSaveDialogAndRestoresThroughTheOpenDialog)
{
    const wchar_t *key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", *name = L"ClearTypeText";
    const wchar_t kSaved[] = L"\\My Documents\\e2e backup.reg";
    DWORD before = 0, after = 7;
    bool had = ReadRegDword(LM, key, name, &before);
    WriteRegDword(LM, key, name, 0);
    DeleteFileW(kSaved);

    ScreenTurn portrait(SIM_PORTRAIT);
    Program program;
    HWND main = Await([] { return Shown(FindWindowW(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore")); }, 10000);
    ASSERT_TRUE(main != NULL);
    ChooseTool(main, 0);
    HWND save = Await([&] { return OwnedDialog(main, L"Export to Registry File"); });
    ASSERT_TRUE(save != NULL) << "no Save dialog";
    HWND field = GetWindow(FindWindowExW(save, NULL, L"Static", L"Name:"), GW_HWNDNEXT);
    TapOn(field, [&] { return FieldText(field).empty() ? field : NULL; });
    Type(L"e2e backup");
    EXPECT_EQ(L"e2e backup", FieldText(field));
    HWND saved = TapButton(save, L"Save", [&] { return OwnedDialog(main, L"Backup registry"); });
    ASSERT_TRUE(saved != NULL) << "no word of the backup";
    EXPECT_EQ(std::wstring(L"Already backup to \n") + kSaved, BoxText(saved));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(kSaved));
    TapButton(saved, L"OK", [&] { return IsWindow(saved) ? NULL : main; });

    WriteRegDword(LM, key, name, 1);
    ChooseTool(main, 1);
    HWND alarm = Await([&] { return OwnedDialog(main, L"Alarm"); });
    HWND open = TapButton(alarm, L"&Yes", [&] { return OwnedDialog(main, L"Export to Registry File"); });
    ASSERT_TRUE(open != NULL) << "no Open dialog";
    RECT row;
    ASSERT_TRUE(RowOnScreen(program.info.hProcess, FindWindowExW(open, NULL, WC_LISTVIEWW, NULL), L"e2e backup.reg", &row));
    HWND confirm = TapUntil(row, [&] { return OwnedDialog(main, L"Confirm"); });
    ASSERT_TRUE(confirm != NULL) << "no word of the restore";
    // Yes: the soft reset, which ends the program.
    EXPECT_TRUE(TapButton(confirm, L"&Yes", [&] {
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(program.info.hProcess, &code) && code != STILL_ACTIVE ? main : NULL;
    }));
    EXPECT_TRUE(ReadRegDword(LM, key, name, &after));
    EXPECT_EQ(0u, after);

    DeleteFileW(kSaved);
    if (had) WriteRegDword(LM, key, name, before);
    else DeleteRegValue(LM, key, name);
}
