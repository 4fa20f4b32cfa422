// Replays the fuzzer's checks over its seed corpus and over crafted inputs, so that
// every test run keeps the reader and writer to what the fuzzer established.
#include <windows.h>
#include <fstream>
#include <string>
#include <gtest/gtest.h>
#include "fuzz/calendar/calendar_fuzz.cpp"

namespace {

// The seed corpus, found from this source file's place in the tree.
std::wstring CorpusFolder()
{
    std::string unixPath = __FILE__;
    unixPath = unixPath.substr(0, unixPath.rfind('/')) + "/../../fuzz/calendar/corpus";
    typedef WCHAR *(CDECL * DosFileName)(const char *);
    DosFileName toDos = (DosFileName)(void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    WCHAR *dos = toDos ? toDos(unixPath.c_str()) : NULL;
    if (!dos) return L"";
    std::wstring path = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
}

void Replay(const std::string &bytes)
{
    LLVMFuzzerTestOneInput((const uint8_t *)bytes.data(), bytes.size());
}

}  // namespace

TEST(CalendarCorpus, EverySeedPassesTheFuzzerChecks)
{
    std::wstring folder = CorpusFolder();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << "no corpus at " << std::string(folder.begin(), folder.end());
    int replayed = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::ifstream seed((folder + L"\\" + found.cFileName).c_str(), std::ios::binary);
        EXPECT_TRUE(seed.good()) << "unreadable seed";
        Replay(std::string(std::istreambuf_iterator<char>(seed), std::istreambuf_iterator<char>()));
        replayed++;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(replayed, 10);
}

TEST(CalendarCorpus, EveryByteInEveryPlaceOfAFilePassesTheFuzzerChecks)
{
    const std::string valid = "start:\n7:30\nends:\n18:00\nSunday\n";
    for (size_t at = 0; at < valid.size(); at++)
        for (int byte = 0; byte < 256; byte++) {
            std::string changed = valid;
            changed[at] = (char)byte;
            Replay(changed);
        }
}
