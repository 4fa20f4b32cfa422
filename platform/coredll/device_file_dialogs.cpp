// The device's own Save and Open dialogs, full screen between the shell's two bars.
// They show the device's places only: main memory, whose documents live in
// "\My Documents", and each storage card that is in, whose documents live in its root
// folder ("\Storage Card"), as the device keeps them.
// Save: Name, Folder ("None" is the place's document folder itself, else one of the
// folders in it), Type (the caller's filter pairs) and Location (main memory or a card).
// Open: the matching files of those folders, and of the caller's initial folder when it
// lies elsewhere; a tap on one opens it.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <algorithm>
#include <string>
#include <vector>
#include "aygshell.h"
#include "device.h"

namespace {

enum {
    IDC_NAME = 100, IDC_FOLDER, IDC_TYPE, IDC_LOCATION, IDC_FILES,
    IDC_NAME_LABEL = 200, IDC_FOLDER_LABEL, IDC_TYPE_LABEL, IDC_LOCATION_LABEL
};

// Rows a stylus can hit; the layout's measures in pixels.
const int kMinRowHeight = 22;
const int kMargin = 6;
const int kGap = 4;
const int kMinButtonWidth = 72;
const int kDroppedRows = 8;

const WCHAR kMainMemory[] = L"Main memory";
const WCHAR kDocumentsFolder[] = L"\\My Documents";
const WCHAR kRefusedCharacters[] = L"\\/:*?\"<>|";
const WCHAR kEmptyNameText[] = L"Enter a name for the file.";
const WCHAR kRefusedNameText[] = L"A file name cannot contain any of these characters:\n\\ / : * ? \" < > |";
const WCHAR kLongNameText[] = L"The name is too long for this folder. Enter a shorter name.";
const WCHAR kFolderNameText[] = L"A folder of that name is already there. Enter another name.";
const WCHAR kReplaceText[] = L" already exists.\nDo you want to replace it?";
const WCHAR kNoFileText[] = L"Tap the file to open.";

// One control of a dialog. A label is followed by its field on the same row; a list
// fills the space left; buttons share the last row, from the right.
struct ControlItem {
    int id;
    const WCHAR *windowClass;
    DWORD style;
    const WCHAR *text;
};

const DWORD kLabel = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
const DWORD kChoice = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

const ControlItem kSaveControls[] = {
    {IDC_NAME_LABEL, L"Static", kLabel, L"Name:"},
    {IDC_NAME, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, L""},
    {IDC_FOLDER_LABEL, L"Static", kLabel, L"Folder:"},
    {IDC_FOLDER, L"ComboBox", kChoice, L""},
    {IDC_TYPE_LABEL, L"Static", kLabel, L"Type:"},
    {IDC_TYPE, L"ComboBox", kChoice, L""},
    {IDC_LOCATION_LABEL, L"Static", kLabel, L"Location:"},
    {IDC_LOCATION, L"ComboBox", kChoice, L""},
    {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, L"Save"},
    {IDCANCEL, L"Button", BS_PUSHBUTTON | WS_TABSTOP, L"Cancel"},
};

const ControlItem kOpenControls[] = {
    {IDC_FOLDER_LABEL, L"Static", kLabel, L"Folder:"},
    {IDC_FOLDER, L"ComboBox", kChoice, L""},
    {IDC_TYPE_LABEL, L"Static", kLabel, L"Type:"},
    {IDC_TYPE, L"ComboBox", kChoice, L""},
    {IDC_FILES, WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, L""},
    {IDCANCEL, L"Button", BS_PUSHBUTTON | WS_TABSTOP, L"Cancel"},
};

// The list's columns: heading and share of the width in percent.
const struct {
    const WCHAR *heading;
    int share;
} kColumns[] = {{L"Name", 38}, {L"Folder", 26}, {L"Date", 20}, {L"Size", 16}};

struct Folder {
    std::wstring path;    // device path, "\My Documents\Business"
    std::wstring label;   // as the dialog shows it
};

struct ListedFile {
    std::wstring name;
    size_t folder;        // index into the dialog's folders
    FILETIME written;
    ULONGLONG size;
};

struct FileDialogState {
    LPOPENFILENAMEW ofn;
    BOOL save;
    const ControlItem *controls;
    size_t controlCount;
    std::vector<std::wstring> typeLabels, typePatterns;
    std::vector<Folder> places;     // Save: the locations, each with its document folder
    std::vector<Folder> folders;    // Save: "None" and the folders of the location; Open: every folder listed
    std::vector<ListedFile> files;  // Open: the list's rows
    BOOL shellSized;
    DWORD error;
};

// ---- Names and types ----

// "*" and "?" as the device's file system takes them, without regard to case.
BOOL MatchesWildcard(const WCHAR *name, const WCHAR *pattern, size_t patternLength)
{
    if (patternLength == 0) return *name == 0;
    if (*pattern == L'*') {
        for (const WCHAR *rest = name;; ++rest) {
            if (MatchesWildcard(rest, pattern + 1, patternLength - 1)) return TRUE;
            if (!*rest) return FALSE;
        }
    }
    if (!*name) return FALSE;
    BOOL same = *pattern == L'?' || CompareStringOrdinal(name, 1, pattern, 1, TRUE) == CSTR_EQUAL;
    return same && MatchesWildcard(name + 1, pattern + 1, patternLength - 1);
}

// A filter's pattern may hold several, "*.wav;*.mid"; "*.*" takes names without a dot too.
BOOL MatchesType(const WCHAR *name, const std::wstring &patterns)
{
    for (size_t start = 0; start <= patterns.size();) {
        size_t end = patterns.find(L';', start);
        if (end == std::wstring::npos) end = patterns.size();
        std::wstring one = patterns.substr(start, end - start);
        one.erase(0, one.find_first_not_of(L' '));
        one.erase(one.find_last_not_of(L' ') + 1);
        if (one == L"*.*" || (!one.empty() && MatchesWildcard(name, one.c_str(), one.size()))) return TRUE;
        start = end + 1;
    }
    return FALSE;
}

// The caller's filter: pairs of label and pattern, ended by an empty label.
void ReadTypes(FileDialogState *s)
{
    for (const WCHAR *at = s->ofn->lpstrFilter; at && *at;) {
        const WCHAR *pattern = at + wcslen(at) + 1;
        if (!*pattern) break;
        s->typeLabels.push_back(at);
        s->typePatterns.push_back(pattern);
        at = pattern + wcslen(pattern) + 1;
    }
    if (s->typeLabels.empty()) {
        s->typeLabels.push_back(L"All Files (*.*)");
        s->typePatterns.push_back(L"*.*");
    }
}

// ".reg" from the type's first pattern "*.reg", else the caller's default extension.
std::wstring TypeExtension(const FileDialogState *s, size_t type)
{
    std::wstring first = s->typePatterns[type].substr(0, s->typePatterns[type].find(L';'));
    if (first.size() > 2 && first.compare(0, 2, L"*.") == 0 && first.find_first_of(L"*?. ", 2) == std::wstring::npos)
        return first.substr(1);
    const WCHAR *fallback = s->ofn->lpstrDefExt;
    return fallback && fallback[0] ? std::wstring(L".") + fallback : L"";
}

// As the file system keeps a name: no spaces around it, no dots at its end.
std::wstring TrimmedName(const WCHAR *typed)
{
    std::wstring name = typed;
    name.erase(0, name.find_first_not_of(L' '));
    size_t last = name.find_last_not_of(L" .");
    name.erase(last == std::wstring::npos ? 0 : last + 1);
    return name;
}

BOOL HasRefusedCharacter(const std::wstring &name)
{
    for (WCHAR c : name)
        if (c < L' ' || wcschr(kRefusedCharacters, c)) return TRUE;
    return FALSE;
}

// ---- The device's places ----

// Calls `each` with every entry the device lists in `folder` ("" for the root).
template <typename Each> void ForEachEntry(const std::wstring &folder, Each each)
{
    WIN32_FIND_DATAW found;
    HANDLE search = Ce_FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do each(found);
    while (Ce_FindNextFileW(search, &found));
    Ce_FindClose(search);
}

BOOL IsShownFolder(const WIN32_FIND_DATAW &found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

BOOL ComesBefore(const std::wstring &a, const std::wstring &b)
{
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

// Adds the folders in `parent` that `wanted` takes, by name: each labelled `prefix` and
// its name.
template <typename Wanted>
void AddFoldersIn(const std::wstring &parent, const std::wstring &prefix, std::vector<Folder> *folders, Wanted wanted)
{
    size_t first = folders->size();
    ForEachEntry(parent, [&](const WIN32_FIND_DATAW &found) {
        if (IsShownFolder(found) && wanted(found))
            folders->push_back({parent + L"\\" + found.cFileName, prefix + found.cFileName});
    });
    std::sort(folders->begin() + first, folders->end(), [](const Folder &a, const Folder &b) { return ComesBefore(a.label, b.label); });
}

void AddFoldersIn(const std::wstring &parent, const std::wstring &prefix, std::vector<Folder> *folders)
{
    AddFoldersIn(parent, prefix, folders, [](const WIN32_FIND_DATAW &) { return TRUE; });
}

// Main memory, then every card that is in: the device's root lists a card as a
// temporary folder.
void FindPlaces(std::vector<Folder> *places)
{
    places->push_back({kDocumentsFolder, kMainMemory});
    AddFoldersIn(L"", L"", places,
                 [](const WIN32_FIND_DATAW &found) { return (found.dwFileAttributes & FILE_ATTRIBUTE_TEMPORARY) != 0; });
}

// The caller's initial folder as a device path ("\Windows"), or "" when it names no
// folder of the device.
std::wstring InitialFolder(const WCHAR *given)
{
    WCHAR full[MAX_PATH];
    DWORD n = given && given[0] ? GetFullPathNameW(given, MAX_PATH, full, NULL) : 0;
    if (n == 0 || n >= MAX_PATH || !DevicePathFromDrivePath(full)) return L"";
    std::wstring folder = full;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : L"";
}

// ---- Layout ----

int TextWidth(HWND window, const WCHAR *text)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(window, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, (int)wcslen(text), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

int RowHeight(HWND dialog)
{
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(dialog, WM_GETFONT, 0, 0));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return std::max(kMinRowHeight, (int)metrics.tmHeight + 9);
}

BOOL IsClass(const ControlItem &item, const WCHAR *windowClass)
{
    return lstrcmpiW(item.windowClass, windowClass) == 0;
}

void Place(HWND control, int x, int y, int cx, int cy)
{
    SetWindowPos(control, NULL, x, y, std::max(cx, 1), std::max(cy, 1), SWP_NOZORDER | SWP_NOACTIVATE);
}

// Label and field rows from the top, then the list, then the buttons' row at the
// bottom of what is left: the whole dialog, its list alone taking what the screen gives.
void LayOutDialog(HWND dialog, const FileDialogState *s)
{
    RECT client;
    GetClientRect(dialog, &client);
    int row = RowHeight(dialog), labelWidth = 0;
    std::vector<HWND> controls(s->controlCount);
    for (size_t i = 0; i < s->controlCount; ++i) {
        controls[i] = GetDlgItem(dialog, s->controls[i].id);
        if (IsClass(s->controls[i], L"Static")) labelWidth = std::max(labelWidth, TextWidth(controls[i], s->controls[i].text) + 2);
    }
    int y = kMargin;
    size_t i = 0;
    for (; i + 1 < s->controlCount && IsClass(s->controls[i], L"Static"); i += 2, y += row + kGap) {
        int x = kMargin + labelWidth + kGap;
        Place(controls[i], kMargin, y, labelWidth, row);
        // A closed drop-down list is as tall as its row; the height given is that of the open list.
        BOOL choice = IsClass(s->controls[i + 1], L"ComboBox");
        Place(controls[i + 1], x, y, client.right - kMargin - x, choice ? row * (kDroppedRows + 1) : row);
    }
    int buttonsTop = y;
    if (i < s->controlCount && IsClass(s->controls[i], WC_LISTVIEWW)) {
        buttonsTop = std::max(y + row, (int)client.bottom - kMargin - row);
        Place(controls[i], kMargin, y, client.right - 2 * kMargin, buttonsTop - kGap - y);
        RECT list;
        GetClientRect(controls[i], &list);
        for (int c = 0; c < (int)(sizeof kColumns / sizeof kColumns[0]); ++c)
            SendMessageW(controls[i], LVM_SETCOLUMNWIDTH, c, list.right * kColumns[c].share / 100);
        ++i;
    }
    for (size_t b = s->controlCount, right = client.right - kMargin; b-- > i;) {
        int width = std::max(kMinButtonWidth, TextWidth(controls[b], s->controls[b].text) + 24);
        right -= width;
        Place(controls[b], (int)right, buttonsTop, width, row);
        right -= kGap;
    }
}

void CreateControls(HWND dialog, const FileDialogState *s)
{
    HFONT font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    int row = RowHeight(dialog);
    for (size_t i = 0; i < s->controlCount; ++i) {
        const ControlItem &item = s->controls[i];
        // A typed field takes the sunken edge of the drop-down lists below it.
        DWORD edge = IsClass(item, L"Edit") ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExW(edge, item.windowClass, item.text, WS_CHILD | WS_VISIBLE | item.style, 0, 0, 10, 10,
                                       dialog, (HMENU)(INT_PTR)item.id,
                                       (HINSTANCE)GetWindowLongPtrW(dialog, GWLP_HINSTANCE), NULL);
        SendMessageW(control, WM_SETFONT, (WPARAM)font, FALSE);
        // The field of a drop-down list as tall as a row: the control adds six pixels.
        if (IsClass(item, L"ComboBox")) SendMessageW(control, CB_SETITEMHEIGHT, (WPARAM)-1, row - 6);
    }
}

// The shell's full-screen initialisation, from the device's shell found at run time
// (the shell is built on this library): below the navigation bar, which shows the
// title and the "ok" key, above an empty soft-key bar, kept in shape as the screen turns.
BOOL InitWithShell(HWND dialog)
{
    typedef BOOL(WINAPI * InitDialogProc)(PSHINITDLGINFO);
    InitDialogProc init = (InitDialogProc)(void *)DesktopLibraryProc(L"aygshell.dll", MAKEINTRESOURCEA(56));
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog,
                          SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU};
    return init && init(&info);
}

// Without the shell: the screen below where the navigation bar would be.
void FillScreen(HWND dialog)
{
    SetWindowPos(dialog, NULL, 0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Filling the fields ----

void FillChoice(HWND dialog, int id, const std::vector<std::wstring> &items, size_t selected)
{
    HWND choice = GetDlgItem(dialog, id);
    SendMessageW(choice, CB_RESETCONTENT, 0, 0);
    for (const std::wstring &item : items) SendMessageW(choice, CB_ADDSTRING, 0, (LPARAM)item.c_str());
    SendMessageW(choice, CB_SETCURSEL, selected < items.size() ? selected : 0, 0);
}

size_t Chosen(HWND dialog, int id)
{
    LRESULT at = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return at < 0 ? 0 : (size_t)at;
}

void FillTypes(HWND dialog, const FileDialogState *s)
{
    DWORD index = s->ofn->nFilterIndex;
    FillChoice(dialog, IDC_TYPE, s->typeLabels, index > 1 ? index - 1 : 0);
}

// Save: "None", the location's document folder itself, then the folders in it.
void FillSaveFolders(HWND dialog, FileDialogState *s)
{
    const Folder &place = s->places[std::min(Chosen(dialog, IDC_LOCATION), s->places.size() - 1)];
    s->folders.assign(1, {place.path, L"None"});
    AddFoldersIn(place.path, L"", &s->folders);
    std::vector<std::wstring> labels;
    for (const Folder &folder : s->folders) labels.push_back(folder.label);
    FillChoice(dialog, IDC_FOLDER, labels, 0);
}

// Open: the document folders and the folders in them, each card's root and its
// folders, and the caller's initial folder when it is none of these, where the list
// then starts.
void FindOpenFolders(HWND dialog, FileDialogState *s)
{
    std::vector<Folder> places;
    FindPlaces(&places);
    for (size_t i = 0; i < places.size(); ++i) {
        std::wstring label = i == 0 ? std::wstring(kDocumentsFolder + 1) : places[i].label;
        s->folders.push_back({places[i].path, label});
        AddFoldersIn(places[i].path, i == 0 ? L"" : label + L"\\", &s->folders);
    }
    std::wstring initial = InitialFolder(s->ofn->lpstrInitialDir);
    size_t start = s->folders.size();
    for (size_t i = 0; !initial.empty() && i < s->folders.size(); ++i)
        if (SameTextNoCase(s->folders[i].path.c_str(), initial.c_str())) start = i;
    if (!initial.empty() && start == s->folders.size()) s->folders.push_back({initial, initial.substr(1)});
    std::vector<std::wstring> labels(1, L"All Folders");
    for (const Folder &folder : s->folders) labels.push_back(folder.label);
    FillChoice(dialog, IDC_FOLDER, labels, initial.empty() ? 0 : start + 1);
}

std::wstring DateText(const FILETIME &written)
{
    FILETIME local;
    SYSTEMTIME time;
    WCHAR text[64] = L"";
    if (FileTimeToLocalFileTime(&written, &local) && FileTimeToSystemTime(&local, &time))
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, NULL, text, 64);
    return text;
}

// "12K" below a megabyte, "1.5M" above, as the device shows sizes.
std::wstring SizeText(ULONGLONG size)
{
    WCHAR text[32];
    if (size < 1024 * 1024) wsprintfW(text, L"%luK", (unsigned long)((size + 1023) / 1024));
    else wsprintfW(text, L"%lu.%luM", (unsigned long)(size >> 20), (unsigned long)((size & 0xFFFFF) * 10 >> 20));
    return text;
}

void SetCell(HWND list, int item, int column, const std::wstring &text)
{
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = (LPWSTR)text.c_str();
    SendMessageW(list, LVM_SETITEMTEXTW, item, (LPARAM)&cell);
}

// Every file of the chosen folder (or of all of them) of the chosen type, by name.
void ListFiles(HWND dialog, FileDialogState *s)
{
    size_t folderChoice = Chosen(dialog, IDC_FOLDER);
    const std::wstring &pattern = s->typePatterns[std::min(Chosen(dialog, IDC_TYPE), s->typePatterns.size() - 1)];
    s->files.clear();
    for (size_t f = 0; f < s->folders.size(); ++f) {
        if (folderChoice != 0 && folderChoice != f + 1) continue;
        ForEachEntry(s->folders[f].path, [&](const WIN32_FIND_DATAW &found) {
            if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) return;
            if (!MatchesType(found.cFileName, pattern)) return;
            ULONGLONG size = ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
            s->files.push_back({found.cFileName, f, found.ftLastWriteTime, size});
        });
    }
    std::stable_sort(s->files.begin(), s->files.end(), [](const ListedFile &a, const ListedFile &b) { return ComesBefore(a.name, b.name); });
    HWND list = GetDlgItem(dialog, IDC_FILES);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < s->files.size(); ++i) {
        const ListedFile &file = s->files[i];
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = (int)i;
        item.pszText = (LPWSTR)file.name.c_str();
        item.lParam = (LPARAM)i;
        int at = (int)SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        SetCell(list, at, 1, s->folders[file.folder].label);
        SetCell(list, at, 2, DateText(file.written));
        SetCell(list, at, 3, SizeText(file.size));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

void PrepareList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FILES);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The rows take the height of their images: a blank one a row tall.
    HIMAGELIST rows = COMMON_CONTROL(ImageList_Create)(1, RowHeight(dialog) - 2, ILC_COLOR, 0, 1);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)rows);
    for (int c = 0; c < (int)(sizeof kColumns / sizeof kColumns[0]); ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = c == 3 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = 60;
        column.pszText = (LPWSTR)kColumns[c].heading;
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, (LPARAM)&column);
    }
}

// ---- Choosing ----

std::wstring Title(HWND dialog)
{
    WCHAR title[256] = L"";
    GetWindowTextW(dialog, title, 256);
    return title;
}

int Tell(HWND dialog, const std::wstring &text, UINT flags)
{
    return Ce_MessageBoxW(dialog, text.c_str(), Title(dialog).c_str(), flags);
}

void Finish(HWND dialog, FileDialogState *s, const std::wstring &path)
{
    s->error = HandBackFileName(s->ofn, path.c_str(), NULL);
    if (!s->error) s->ofn->nFilterIndex = (DWORD)Chosen(dialog, IDC_TYPE) + 1;
    EndDialog(dialog, s->error == 0);
}

// The name as typed, the type's extension added when it has none, in the chosen
// folder. Refused with a message, the dialog staying open: an empty name, one the
// file system does not take, a folder's name, and a file the user would not replace.
void SaveChosenFile(HWND dialog, FileDialogState *s)
{
    WCHAR typed[MAX_PATH] = L"";
    GetDlgItemTextW(dialog, IDC_NAME, typed, MAX_PATH);
    std::wstring name = TrimmedName(typed);
    if (name.empty()) return (void)Tell(dialog, kEmptyNameText, MB_OK | MB_ICONEXCLAMATION);
    if (HasRefusedCharacter(name)) return (void)Tell(dialog, kRefusedNameText, MB_OK | MB_ICONEXCLAMATION);
    if (name.find(L'.') == std::wstring::npos) name += TypeExtension(s, Chosen(dialog, IDC_TYPE));
    std::wstring path = s->folders[std::min(Chosen(dialog, IDC_FOLDER), s->folders.size() - 1)].path + L"\\" + name;
    if (path.size() >= MAX_PATH) return (void)Tell(dialog, kLongNameText, MB_OK | MB_ICONEXCLAMATION);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return (void)Tell(dialog, kFolderNameText, MB_OK | MB_ICONEXCLAMATION);
    if (attributes != INVALID_FILE_ATTRIBUTES && (s->ofn->Flags & OFN_OVERWRITEPROMPT) &&
        Tell(dialog, name + kReplaceText, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    Finish(dialog, s, path);
}

void OpenListedFile(HWND dialog, FileDialogState *s, int item)
{
    LVITEMW row = {};
    row.mask = LVIF_PARAM;
    row.iItem = item;
    if (item < 0 || !SendDlgItemMessageW(dialog, IDC_FILES, LVM_GETITEMW, 0, (LPARAM)&row) ||
        (size_t)row.lParam >= s->files.size())
        return (void)Tell(dialog, kNoFileText, MB_OK | MB_ICONINFORMATION);
    const ListedFile &file = s->files[row.lParam];
    Finish(dialog, s, s->folders[file.folder].path + L"\\" + file.name);
}

FileDialogState *StateOf(HWND dialog)
{
    return (FileDialogState *)GetWindowLongPtrW(dialog, DWLP_USER);
}

void InitFileDialog(HWND dialog, FileDialogState *s)
{
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)s);
    const WCHAR *title = s->ofn->lpstrTitle;
    SetWindowTextW(dialog, title && title[0] ? title : s->save ? L"Save As" : L"Open");
    CreateControls(dialog, s);
    ReadTypes(s);
    FillTypes(dialog, s);
    if (s->save) {
        FindPlaces(&s->places);
        std::vector<std::wstring> labels;
        for (const Folder &place : s->places) labels.push_back(place.label);
        FillChoice(dialog, IDC_LOCATION, labels, 0);
        FillSaveFolders(dialog, s);
        // A name the caller suggests, without its folder.
        const WCHAR *suggested = s->ofn->lpstrFile && s->ofn->nMaxFile ? s->ofn->lpstrFile : L"";
        std::wstring name(suggested, wcsnlen(suggested, s->ofn->nMaxFile));
        SetDlgItemTextW(dialog, IDC_NAME, name.substr(name.find_last_of(L"\\/") + 1).c_str());
        SendDlgItemMessageW(dialog, IDC_NAME, EM_LIMITTEXT, MAX_PATH - 1, 0);
    } else {
        PrepareList(dialog);
        FindOpenFolders(dialog, s);
        ListFiles(dialog, s);
    }
    s->shellSized = InitWithShell(dialog);
    if (!s->shellSized) FillScreen(dialog);
    LayOutDialog(dialog, s);
    SetFocus(GetDlgItem(dialog, s->save ? IDC_NAME : IDC_FILES));
}

INT_PTR CALLBACK FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    FileDialogState *s = StateOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        InitFileDialog(dialog, (FileDialogState *)lParam);
        return FALSE;   // the focus is set
    case WM_SIZE:
        if (s) LayOutDialog(dialog, s);
        return TRUE;
    case WM_DISPLAYCHANGE:
        // The shell keeps the dialogs it sized in shape.
        if (s && !s->shellSized) FillScreen(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (!s || header->idFrom != IDC_FILES) return FALSE;
        // A tap on a row opens its file; a tap beside the rows does nothing.
        if ((header->code == NM_CLICK || header->code == LVN_ITEMACTIVATE) && ((NMITEMACTIVATE *)lParam)->iItem >= 0)
            OpenListedFile(dialog, s, ((NMITEMACTIVATE *)lParam)->iItem);
        return TRUE;
    }
    case WM_COMMAND:
        if (!s) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            if (s->save) SaveChosenFile(dialog, s);
            else OpenListedFile(dialog, s, (int)SendDlgItemMessageW(dialog, IDC_FILES, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
            return TRUE;
        case IDCANCEL:
            s->error = 0;
            EndDialog(dialog, FALSE);
            return TRUE;
        case IDC_LOCATION:
            if (HIWORD(wParam) == CBN_SELCHANGE) FillSaveFolders(dialog, s);
            return TRUE;
        case IDC_FOLDER:
        case IDC_TYPE:
            if (HIWORD(wParam) == CBN_SELCHANGE && !s->save) ListFiles(dialog, s);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// An empty dialog in the device's font, Tahoma 8, as the program's own dialogs; its
// controls are made and placed by the procedure. Template fields are WORDs, aligned.
struct alignas(4) DialogTemplate {
    DLGTEMPLATE head;
    WORD menu, windowClass, title;
    WORD pointSize;
    WCHAR typeface[7];
};

}  // namespace

BOOL ShowFileDialog(LPOPENFILENAMEW ofn, BOOL save, DWORD *error)
{
    static const DialogTemplate kTemplate = {
        {DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 160, 200}, 0, 0, 0, 8, L"Tahoma"};
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    auto initClasses = COMMON_CONTROL(InitCommonControlsEx);
    if (!initClasses || !COMMON_CONTROL(ImageList_Create) || !initClasses(&classes)) {
        *error = CDERR_INITIALIZATION;
        return FALSE;
    }
    FileDialogState state = {};
    state.ofn = ofn;
    state.save = save;
    state.controls = save ? kSaveControls : kOpenControls;
    state.controlCount = save ? sizeof kSaveControls / sizeof kSaveControls[0] : sizeof kOpenControls / sizeof kOpenControls[0];
    HMODULE self = NULL;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCWSTR)(void *)FileDialogProc, &self);
    INT_PTR result = DialogBoxIndirectParamW(self, &kTemplate.head, ofn->hwndOwner, FileDialogProc, (LPARAM)&state);
    *error = result < 0 ? CDERR_DIALOGFAILURE : state.error;
    return result > 0;
}
