// Making the running registry exactly an image. The registry's own save gives the
// running state as text in milliseconds; the two texts are compared here, keys and
// values that the image lacks are deleted, and everything the image adds or changes is
// handed to the registry's load call as one text made of the image's own lines, which
// the registry reads back exactly as it wrote them. A reset thus costs a few round
// trips per difference instead of several per key and value.
//
// Symbolic links are never followed while deleting: a link whose target differs is
// deleted and made anew, never written through. Volatile keys are not part of a
// saved text and stay as they are.
#include <algorithm>
#include <string.h>
#include <unordered_map>
#include "registry_image.h"

namespace {

typedef LONG (NTAPI *NtDeleteKeyProc)(HANDLE);
typedef ULONG (NTAPI *RtlNtStatusToDosErrorProc)(LONG);

// The registry as a tree of names, so that a missing key is found once, at its top.
class KeyTree {
public:
    explicit KeyTree(const RegText &text) : m_text(text)
    {
        m_index.reserve(text.keys.size() * 2 + 1);
        Ensure(L"", L"");
        for (size_t k = 0; k < text.keys.size(); ++k) {
            int node = Ensure(text.keys[k].folded, text.keys[k].path);
            m_key[node] = (int)k;
        }
    }

    int Find(const std::wstring &folded) const
    {
        auto it = m_index.find(folded);
        return it == m_index.end() ? -1 : it->second;
    }
    const RegTextKey *Key(int node) const { return m_key[node] < 0 ? NULL : &m_text.keys[m_key[node]]; }
    int KeyIndex(int node) const { return m_key[node]; }
    bool IsLink(int node) const { return m_key[node] >= 0 && m_text.keys[m_key[node]].link; }
    const std::vector<int> &Children(int node) const { return m_children[node]; }
    const std::wstring &Folded(int node) const { return m_folded[node]; }
    const std::wstring &Path(int node) const { return m_path[node]; }
    size_t Size() const { return m_folded.size(); }

private:
    int Ensure(const std::wstring &folded, const std::wstring &path)
    {
        auto it = m_index.find(folded);
        if (it != m_index.end()) return it->second;
        int parent = -1;
        if (!folded.empty()) {
            size_t cut = folded.rfind(L'\\');
            if (cut == std::wstring::npos) parent = Ensure(L"", L"");
            else parent = Ensure(folded.substr(0, cut), path.substr(0, cut));
        }
        int node = (int)m_folded.size();
        m_folded.push_back(folded);
        m_path.push_back(path);
        m_key.push_back(-1);
        m_children.push_back(std::vector<int>());
        if (parent >= 0) m_children[parent].push_back(node);
        m_index.emplace(folded, node);
        return node;
    }

    const RegText &m_text;
    std::unordered_map<std::wstring, int> m_index;
    std::vector<std::wstring> m_folded;
    std::vector<std::wstring> m_path;
    std::vector<int> m_key;
    std::vector<std::vector<int>> m_children;
};

struct ValueDeletion {
    std::wstring path;
    std::wstring name;
};

struct Plan {
    std::vector<std::wstring> deleteKeys;      // tops of the subtrees the image lacks
    std::vector<ValueDeletion> deleteValues;
    std::vector<size_t> loadKeys;              // image keys to load, by index
};

bool SameValue(const RegTextValue &a, const RegTextValue &b) { return a.type == b.type && a.data == b.data; }

bool SameLink(const RegTextKey *a, const RegTextKey *b)
{
    if (!a || !b) return false;
    if (a->values.size() != b->values.size()) return false;
    return a->values.empty() || SameValue(a->values[0], b->values[0]);
}

class Planner {
public:
    Planner(const KeyTree &current, const KeyTree &image, Plan *plan, const wchar_t *keep)
        : m_current(current), m_image(image), m_plan(plan), m_gone(current.Size(), false), m_keep(keep) {}

    void Run()
    {
        WalkCurrent(0);
        WalkImage(0);
    }

private:
    void MarkGone(int node)
    {
        m_gone[node] = true;
        for (int child : m_current.Children(node)) MarkGone(child);
    }

    // Keys of the running registry that the image does not have, or has as something else.
    void WalkCurrent(int node)
    {
        for (int child : m_current.Children(node)) {
            if (node == 0 && m_keep && m_current.Folded(child) == m_keep) continue;
            int other = m_image.Find(m_current.Folded(child));
            bool keep = other >= 0 && m_current.IsLink(child) == m_image.IsLink(other);
            if (keep && m_current.IsLink(child)) keep = SameLink(m_current.Key(child), m_image.Key(other));
            if (!keep) {
                m_plan->deleteKeys.push_back(m_current.Path(child));
                MarkGone(child);
            } else {
                WalkCurrent(child);
            }
        }
    }

    void WalkImage(int node)
    {
        const RegTextKey *want = m_image.Key(node);
        if (want) {
            int have = m_current.Find(m_image.Folded(node));
            if (have < 0 || m_gone[have]) {
                Load(node);
            } else if (!want->link) {
                CompareValues(node, want, m_current.Key(have));
            }
        }
        for (int child : m_image.Children(node)) WalkImage(child);
    }

    void Load(int node) { m_plan->loadKeys.push_back((size_t)m_image.KeyIndex(node)); }

    // Unchanged keys come with the same values in the same order: the common case is
    // settled without sorting anything.
    static bool SameValues(const RegTextKey *want, const RegTextKey *have)
    {
        if (!have || have->values.size() != want->values.size()) return false;
        if (want->hasClass && (!have->hasClass || have->keyClass != want->keyClass)) return false;
        for (size_t i = 0; i < want->values.size(); ++i) {
            const RegTextValue &a = want->values[i], &b = have->values[i];
            if (a.name != b.name || !SameValue(a, b)) return false;
        }
        return true;
    }

    void CompareValues(int node, const RegTextKey *want, const RegTextKey *have)
    {
        if (SameValues(want, have)) return;
        static const std::vector<RegTextValue> none;
        const std::vector<RegTextValue> &old = have ? have->values : none;
        std::vector<std::pair<std::wstring, const RegTextValue *>> a, b;
        for (const RegTextValue &v : want->values) a.emplace_back(FoldRegName(v.name), &v);
        for (const RegTextValue &v : old) b.emplace_back(FoldRegName(v.name), &v);
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        bool load = want->hasClass && (!have || !have->hasClass || have->keyClass != want->keyClass);
        size_t i = 0, j = 0;
        while (i < a.size() || j < b.size()) {
            if (j == b.size() || (i < a.size() && a[i].first < b[j].first)) {
                load = true;
                ++i;
            } else if (i == a.size() || b[j].first < a[i].first) {
                m_plan->deleteValues.push_back(ValueDeletion{want->path, b[j].second->name});
                ++j;
            } else {
                if (!SameValue(*a[i].second, *b[j].second)) load = true;
                ++i;
                ++j;
            }
        }
        if (load) Load(node);
    }

    const KeyTree &m_current;
    const KeyTree &m_image;
    Plan *m_plan;
    std::vector<bool> m_gone;
    const wchar_t *m_keep;
};

DWORD NtError(LONG status)
{
    static RtlNtStatusToDosErrorProc convert =
        (RtlNtStatusToDosErrorProc)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlNtStatusToDosError");
    return convert ? convert(status) : ERROR_GEN_FAILURE;
}

DWORD DeleteOpenKey(HKEY key)
{
    static NtDeleteKeyProc deleteKey = (NtDeleteKeyProc)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey");
    if (!deleteKey) return ERROR_PROC_NOT_FOUND;
    LONG status = deleteKey(key);
    return status ? NtError(status) : 0;
}

DWORD LoadText(HKEY key, const std::string &text)
{
    wchar_t folder[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) lstrcpyW(folder, L".\\");
    static LONG counter;
    wchar_t name[64];
    wsprintfW(name, L"simload-%lx-%lx.txt", GetCurrentProcessId(), InterlockedIncrement(&counter));
    std::wstring path = std::wstring(folder) + name;
    DWORD error = WriteFileAtomically(path.c_str(), text, true);
    if (error) return error;
    EnableRegistryPrivileges();
    error = (DWORD)RegLoadKeyW(key, NULL, path.c_str());
    DeleteFileW(path.c_str());
    if (!error) {
        // A load does not mark what it wrote as changed; a real write does, so that
        // the registry keeps the loaded keys when it next saves itself.
        static const wchar_t mark[] = L"SimDevice applied image";
        DWORD one = 1;
        RegSetValueExW(key, mark, 0, REG_DWORD, (const BYTE *)&one, sizeof one);
        RegDeleteValueW(key, mark);
    }
    return error;
}

}  // namespace

DWORD DeleteKeyTreeSafely(HKEY parent, const wchar_t *subkey)
{
    HKEY key;
    LONG r = RegOpenKeyExW(parent, subkey, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key);
    if (r != ERROR_SUCCESS) return (DWORD)r;
    DWORD error = 0;
    // A link opened as itself has no sub-keys, so this never reaches the link's target.
    for (;;) {
        wchar_t name[512];
        DWORD length = 512;
        r = RegEnumKeyExW(key, 0, name, &length, NULL, NULL, NULL, NULL);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) { error = (DWORD)r; break; }
        error = DeleteKeyTreeSafely(key, name);
        if (error) break;
    }
    if (!error) error = DeleteOpenKey(key);
    RegCloseKey(key);
    return error;
}

DWORD ApplyRegText(HKEY key, const std::string &text, const RegText &image, const wchar_t *keep)
{
    std::string currentText;
    DWORD error = SaveKeyText(key, &currentText);
    if (error) return error;
    RegText current;
    if (!ParseRegText(currentText.data(), currentText.size(), &current, NULL)) return ERROR_REGISTRY_CORRUPT;

    KeyTree have(current), want(image);
    Plan plan;
    Planner(have, want, &plan, keep).Run();

    DWORD firstError = 0;
    for (const std::wstring &path : plan.deleteKeys) {
        DWORD e = DeleteKeyTreeSafely(key, path.c_str());
        if (e && e != ERROR_FILE_NOT_FOUND && !firstError) firstError = e;
    }
    for (size_t i = 0; i < plan.deleteValues.size();) {
        const std::wstring &path = plan.deleteValues[i].path;
        HKEY sub = key;
        LONG r = path.empty() ? ERROR_SUCCESS
                              : RegOpenKeyExW(key, path.c_str(), REG_OPTION_OPEN_LINK, KEY_SET_VALUE, &sub);
        for (; i < plan.deleteValues.size() && plan.deleteValues[i].path == path; ++i) {
            if (r == ERROR_SUCCESS) {
                LONG d = RegDeleteValueW(sub, plan.deleteValues[i].name.c_str());
                if (d && d != ERROR_FILE_NOT_FOUND && !firstError) firstError = (DWORD)d;
            }
        }
        if (r != ERROR_SUCCESS && !firstError) firstError = (DWORD)r;
        if (r == ERROR_SUCCESS && sub != key) RegCloseKey(sub);
    }
    if (!plan.loadKeys.empty()) {
        std::string load = "WINE REGISTRY Version 2\n\n[]\n\n";   // "[]" first: paths are taken as they stand
        for (size_t k : plan.loadKeys) {
            const RegTextKey &entry = image.keys[k];
            load.append(text, entry.blockBegin, entry.blockEnd - entry.blockBegin);
            if (load.back() != '\n') load += '\n';
        }
        DWORD e = LoadText(key, load);
        if (e && !firstError) firstError = e;
    }
    return firstError;
}

DWORD ApplyRegImage(const std::vector<RegImageSection> &sections, const std::vector<RegText> &texts)
{
    if (texts.size() != sections.size()) return ERROR_INVALID_PARAMETER;
    DWORD firstError = 0;
    for (size_t i = 0; i < sections.size(); ++i) {
        const RegImageSection &s = sections[i];
        const RegText &image = texts[i];
        DWORD error = 0;
        HKEY root = RegImageRootKey(s.root), key = root;
        if (!error && !root) error = ERROR_INVALID_HANDLE;
        if (!error && !s.path.empty())
            error = (DWORD)RegCreateKeyExW(root, s.path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
        if (!error) {
            // The simulator's sandboxes of other processes live below the device's HKEY_USERS.
            bool users = s.root == REGIMG_ROOT_HKU && s.path.empty() && !SandboxActive();
            error = ApplyRegText(key, s.text, image, users ? SANDBOX_BRANCH : NULL);
            if (key != root) RegCloseKey(key);
        }
        if (error && !firstError) firstError = error;
    }
    return firstError;
}
