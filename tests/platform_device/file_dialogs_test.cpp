// The device's own Save and Open dialogs, shown for real and driven through their
// controls and taps, while the message boxes they show are recorded and answered.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <cderr.h>
#include <algorithm>
#include <set>
#include "aygshell.h"
#include "testkit.h"

namespace {

const wchar_t kRegistryFiles[] = L"Registry Files (*.reg)\0*.reg\0";
const wchar_t kTitle[] = L"Export to Registry File";

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override { SimTestBegin(SIM_TEST_ALL | SIM_TEST_SHOW_FILE_DIALOGS); }
    void TearDown() override
    {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
        SimTestEnd();
    }
    // A file or (ending in a backslash) a folder on the device, gone after the test.
    void Make(const std::wstring &path)
    {
        bool folder = path.back() == L'\\';
        std::wstring name = folder ? path.substr(0, path.size() - 1) : path;
        if (folder) CreateDirectoryW(name.c_str(), NULL);
        else CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
        made_.push_back(name);
    }

private:
    std::vector<std::wstring> made_;
};

// What a dialog run gave back.
struct Outcome {
    BOOL chosen;
    DWORD error;
    std::wstring path;
};

// Runs the Save (or Open) dialog with `ofn` (its buffer is `file`), `script` driving it.
Outcome ShowDialog(BOOL save, OPENFILENAMEW &ofn, const std::function<void(HWND)> &script)
{
    BOOL chosen = FALSE;
    bool shown = DriveModal([&] { chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn); }, script);
    EXPECT_TRUE(shown) << "no dialog was shown";
    return {chosen, CommDlgExtendedError(), ofn.lpstrFile ? ofn.lpstrFile : L""};
}

OPENFILENAMEW Record(wchar_t *file, DWORD size, const wchar_t *filter = kRegistryFiles)
{
    OPENFILENAMEW ofn = {sizeof ofn};
    file[0] = 0;
    ofn.lpstrFile = file;
    ofn.nMaxFile = size;
    ofn.lpstrFilter = filter;
    ofn.lpstrTitle = kTitle;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return ofn;
}

// The field on the row of the label: the next control.
HWND Field(HWND dialog, const wchar_t *label)
{
    HWND at = FindWindowExW(dialog, NULL, L"Static", label);
    return at ? GetWindow(at, GW_HWNDNEXT) : NULL;
}

void Click(HWND dialog, const wchar_t *button)
{
    SendMessageW(FindWindowExW(dialog, NULL, L"Button", button), BM_CLICK, 0, 0);
}

// Types the name and taps Save: the boxes shown for it, each "text|caption".
std::vector<SimMessageBox> SaveAs(HWND dialog, const wchar_t *name)
{
    int before = SimMessageBoxCount();
    SetWindowTextW(Field(dialog, L"Name:"), name);
    Click(dialog, L"Save");
    return MessageBoxesFrom(before);
}

std::vector<std::wstring> Choices(HWND choice)
{
    std::vector<std::wstring> items;
    wchar_t text[MAX_PATH];
    for (int i = 0; i < (int)SendMessageW(choice, CB_GETCOUNT, 0, 0); i++)
        if (SendMessageW(choice, CB_GETLBTEXT, i, (LPARAM)text) >= 0) items.push_back(text);
    return items;
}

// Chooses an item as a tap on it does: the field tells its dialog.
void Choose(HWND dialog, const wchar_t *label, const wchar_t *item)
{
    HWND choice = Field(dialog, label);
    LRESULT at = SendMessageW(choice, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)item);
    ASSERT_GE(at, 0) << "no " << testing::PrintToString(std::wstring(item)) << " beside " << testing::PrintToString(std::wstring(label));
    SendMessageW(choice, CB_SETCURSEL, at, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(choice), CBN_SELCHANGE), (LPARAM)choice);
}

HWND FileList(HWND dialog) { return FindWindowExW(dialog, NULL, WC_LISTVIEWW, NULL); }

// The list's rows, each "name|folder".
std::set<std::wstring> Rows(HWND dialog)
{
    std::set<std::wstring> rows;
    HWND list = FileList(dialog);
    for (int i = 0; i < (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); i++) {
        wchar_t name[MAX_PATH] = L"", folder[MAX_PATH] = L"";
        ListView_GetItemText(list, i, 0, name, MAX_PATH);
        ListView_GetItemText(list, i, 1, folder, MAX_PATH);
        rows.insert(std::wstring(name) + L"|" + folder);
    }
    return rows;
}

// A stylus tap on the middle of the row holding `name`.
void TapRow(HWND dialog, const wchar_t *name)
{
    HWND list = FileList(dialog);
    LVFINDINFOW find = {LVFI_STRING, name};
    int item = (int)SendMessageW(list, LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find);
    ASSERT_GE(item, 0) << "no row for " << testing::PrintToString(std::wstring(name));
    RECT row = {LVIR_BOUNDS};
    SendMessageW(list, LVM_GETITEMRECT, item, (LPARAM)&row);
    MapWindowPoints(list, NULL, (POINT *)&row, 2);
    TapScreen((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    PumpMessages(100);
}

void ExpectRefusedAndOpen(HWND dialog, const std::vector<SimMessageBox> &boxes, const wchar_t *naming = L"")
{
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(dialog, boxes[0].owner);
    EXPECT_STREQ(kTitle, boxes[0].caption);
    EXPECT_EQ((UINT)MB_OK, boxes[0].flags & MB_TYPEMASK);
    EXPECT_NE(nullptr, wcsstr(boxes[0].text, naming)) << "the message names " << testing::PrintToString(std::wstring(naming));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "a refusal ended the dialog";
}

}  // namespace

// The backup's own record: a name the device cannot store is refused with a message and
// the dialog stays; a name without an extension gets the type's; an existing file is
// replaced only on Yes; a path the caller's buffer cannot hold fails as the device's
// dialog fails; Cancel and IDCANCEL give FALSE with no error, IDOK saves.
TEST_F(FileDialogs, SaveRefusesWhatTheDeviceCannotStoreAndAsksBeforeReplacing)
{
    Make(L"\\My Documents\\zr-old.reg");
    wchar_t file[256];
    OPENFILENAMEW ofn = Record(file, 256);
    Outcome saved = ShowDialog(TRUE, ofn, [](HWND dialog) {
        EXPECT_EQ(kTitle, WindowText(dialog));
        EXPECT_EQ(Field(dialog, L"Name:"), GetFocus());
        for (const wchar_t *empty : {L"", L"   "}) ExpectRefusedAndOpen(dialog, SaveAs(dialog, empty));
        for (const wchar_t *c : {L"\\", L"/", L":", L"*", L"?", L"\"", L"<", L">", L"|"}) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(c)));
            ExpectRefusedAndOpen(dialog, SaveAs(dialog, (L"zr" + std::wstring(c) + L"name").c_str()), c);
        }
        SimQueueMessageBoxAnswer(IDNO);
        std::vector<SimMessageBox> asked = SaveAs(dialog, L"zr-old");
        ASSERT_EQ(1u, asked.size());
        EXPECT_EQ((UINT)MB_YESNO, asked[0].flags & MB_TYPEMASK);
        EXPECT_NE(nullptr, wcsstr(asked[0].text, L"zr-old.reg"));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "No replaced the file all the same";
        SimQueueMessageBoxAnswer(IDYES);
        EXPECT_EQ(1u, SaveAs(dialog, L"zr-old").size());
    });
    EXPECT_TRUE(saved.chosen);
    EXPECT_EQ(0u, saved.error);
    EXPECT_EQ(L"\\My Documents\\zr-old.reg", saved.path);
    EXPECT_EQ(14, ofn.nFileOffset);
    EXPECT_EQ(21, ofn.nFileExtension);
    EXPECT_EQ(1u, ofn.nFilterIndex);

    // "\My Documents\zr-new.reg" and its terminator: 25 characters. One fewer fails.
    for (DWORD size : {24u, 25u}) {
        ofn = Record(file, size);
        Outcome fitted = ShowDialog(TRUE, ofn, [](HWND dialog) { EXPECT_TRUE(SaveAs(dialog, L"zr-new").empty()); });
        SCOPED_TRACE(size);
        EXPECT_EQ(size == 25, fitted.chosen);
        EXPECT_EQ(size == 25 ? 0u : (DWORD)FNERR_BUFFERTOOSMALL, fitted.error);
        EXPECT_EQ(size == 25 ? L'\\' : (wchar_t)25, file[0]);
    }
    // Cancel and IDCANCEL, after a failure: FALSE and no error left over. IDOK, from the
    // navigation bar's "ok", saves.
    auto cancel = [](HWND dialog) { Click(dialog, L"Cancel"); };
    auto idCancel = [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); };
    for (const auto &script : {std::function<void(HWND)>(cancel), std::function<void(HWND)>(idCancel)}) {
        ofn = Record(file, 10);
        EXPECT_EQ(FNERR_BUFFERTOOSMALL, ShowDialog(TRUE, ofn, [](HWND dialog) { SaveAs(dialog, L"zr-new"); }).error);
        ofn = Record(file, 256);
        Outcome cancelled = ShowDialog(TRUE, ofn, script);
        EXPECT_FALSE(cancelled.chosen);
        EXPECT_EQ(0u, cancelled.error);
    }
    ofn = Record(file, 256);
    Outcome ok = ShowDialog(TRUE, ofn, [](HWND dialog) {
        SetWindowTextW(Field(dialog, L"Name:"), L"zr-ok");
        SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(ok.chosen);
    EXPECT_EQ(L"\\My Documents\\zr-ok.reg", ok.path);
}

// Location offers main memory and each card in, nothing of the host; Folder offers
// "None" and the folders of the chosen place; the type chosen gives the extension, and
// a type without one the caller's default.
TEST_F(FileDialogs, SaveOffersTheDevicesPlacesAndTheirFolders)
{
    SimCard cards[2] = {{L"Storage Card", 1 << 20, 1 << 19}, {L"SD Card", 1 << 20, 1 << 19}};
    ASSERT_TRUE(SimSetCards(cards, 2));
    Make(L"\\SD Card\\");
    Make(L"\\SD Card\\zr Backups\\");
    Make(L"\\My Documents\\zr Business\\");
    wchar_t file[256];
    OPENFILENAMEW ofn = Record(file, 256, L"Registry Files (*.reg)\0*.reg\0All Files (*.*)\0*.*\0");
    ofn.lpstrDefExt = L"txt";
    auto expectOne = [](const std::vector<std::wstring> &items, const wchar_t *item) {
        EXPECT_EQ(1, std::count(items.begin(), items.end(), std::wstring(item))) << testing::PrintToString(std::wstring(item));
    };
    Outcome inFolder = ShowDialog(TRUE, ofn, [&](HWND dialog) {
        EXPECT_EQ((std::vector<std::wstring>{L"Main memory", L"SD Card", L"Storage Card"}), Choices(Field(dialog, L"Location:")));
        std::vector<std::wstring> folders = Choices(Field(dialog, L"Folder:"));
        EXPECT_EQ(L"None", folders.at(0));
        expectOne(folders, L"zr Business");
        EXPECT_EQ(0, std::count(folders.begin(), folders.end(), L"zr Backups"));
        EXPECT_EQ((std::vector<std::wstring>{L"Registry Files (*.reg)", L"All Files (*.*)"}), Choices(Field(dialog, L"Type:")));
        Choose(dialog, L"Folder:", L"zr Business");
        SaveAs(dialog, L"zr-here");
    });
    EXPECT_EQ(L"\\My Documents\\zr Business\\zr-here.reg", inFolder.path);
    Make(inFolder.path);

    // The second type to start with, given no extension of its own: the caller's default.
    ofn.nFilterIndex = 2;
    Outcome onCard = ShowDialog(TRUE, ofn, [&](HWND dialog) {
        EXPECT_EQ(L"All Files (*.*)", WindowText(Field(dialog, L"Type:")));
        Choose(dialog, L"Location:", L"SD Card");
        EXPECT_EQ((std::vector<std::wstring>{L"None", L"zr Backups"}), Choices(Field(dialog, L"Folder:")));
        SaveAs(dialog, L"zr-card");
    });
    EXPECT_EQ(L"\\SD Card\\zr-card.txt", onCard.path);
    EXPECT_EQ(2u, ofn.nFilterIndex);
    // A name with an extension keeps it.
    ofn.nFilterIndex = 0;
    EXPECT_EQ(L"\\My Documents\\zr.notes.log", ShowDialog(TRUE, ofn, [](HWND dialog) { SaveAs(dialog, L" zr.notes.log. "); }).path);
}

// Every matching file of the document folders, the folders in them and the cards, by
// folder and type; the caller's initial folder elsewhere is offered and shown first; a
// tap on a file opens it.
TEST_F(FileDialogs, OpenListsTheDocumentsOfEveryPlaceAndATapOpensAFile)
{
    for (const wchar_t *made : {L"\\My Documents\\zr-a.reg", L"\\My Documents\\zr Business\\", L"\\My Documents\\zr Business\\zr-b.reg",
                                L"\\Storage Card\\zr-c.reg", L"\\My Documents\\zr-d.txt", L"\\Temp\\zr-e.reg", L"\\Windows\\zr-tool.exe"})
        Make(made);
    wchar_t file[260];
    OPENFILENAMEW ofn = Record(file, 260, L"Registry Files (*.reg)\0*.reg\0All Files (*.*)\0*.*\0");
    ofn.Flags = OFN_HIDEREADONLY;
    Outcome opened = ShowDialog(FALSE, ofn, [](HWND dialog) {
        EXPECT_EQ(L"All Folders", WindowText(Field(dialog, L"Folder:")));
        std::set<std::wstring> rows = Rows(dialog);
        for (const wchar_t *row : {L"zr-a.reg|My Documents", L"zr-b.reg|zr Business", L"zr-c.reg|Storage Card"})
            EXPECT_EQ(1u, rows.count(row)) << testing::PrintToString(std::wstring(row));
        for (const std::wstring &row : rows) EXPECT_EQ(L".reg|", row.substr(row.find(L'|') - 4, 5)) << testing::PrintToString(row);
        EXPECT_EQ(0u, rows.count(L"zr-e.reg|Temp")) << "a folder that holds no documents";
        Choose(dialog, L"Folder:", L"zr Business");
        EXPECT_EQ(std::set<std::wstring>{L"zr-b.reg|zr Business"}, Rows(dialog));
        Choose(dialog, L"Folder:", L"My Documents");
        Choose(dialog, L"Type:", L"All Files (*.*)");
        EXPECT_EQ(1u, Rows(dialog).count(L"zr-d.txt|My Documents"));
        // IDOK with no file chosen says so and opens nothing.
        int before = SimMessageBoxCount();
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(before + 1, SimMessageBoxCount());
        EXPECT_TRUE(IsWindowVisible(dialog));
        TapRow(dialog, L"zr-a.reg");
    });
    EXPECT_TRUE(opened.chosen);
    EXPECT_EQ(L"\\My Documents\\zr-a.reg", opened.path);
    EXPECT_EQ(14, ofn.nFileOffset);
    EXPECT_EQ(19, ofn.nFileExtension);
    EXPECT_EQ(2u, ofn.nFilterIndex);

    // The soft-key page's link picker: "\Windows" and its programs.
    ofn = Record(file, 260, L"(*.exe)\0*.exe\0");
    ofn.lpstrInitialDir = L"\\Windows";
    ofn.lpstrTitle = L"Select link";
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    Outcome picked = ShowDialog(FALSE, ofn, [](HWND dialog) {
        EXPECT_EQ(L"Windows", WindowText(Field(dialog, L"Folder:")));
        EXPECT_EQ(1u, Rows(dialog).count(L"zr-tool.exe|Windows"));
        TapRow(dialog, L"zr-tool.exe");
    });
    EXPECT_EQ(L"\\Windows\\zr-tool.exe", picked.path);
    EXPECT_EQ(0u, picked.error);
}
