// Reading the registry's own text format, as its save call writes it and its load call
// reads it back. The checks are stricter than the registry's own reader, which skips
// lines it does not understand: an image whose text we cannot read exactly is refused
// rather than half applied.
#include <algorithm>
#include <string.h>
#include <unordered_map>
#include <unordered_set>
#include "registry_image.h"

namespace {

const char kTextHeader[] = "WINE REGISTRY Version 2";
const size_t kMaxNameChars = 256;        // one key name, as the registry allows
const size_t kMaxValueNameChars = 16383;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct Line {
    const char *p;     // after leading blanks
    const char *end;   // before the line break
};

// Decodes an escaped string up to `endChar`, as the registry's reader does. Returns
// the position after the closing character, or NULL when the string is malformed.
const char *ParseEscaped(const char *p, const char *end, char endChar, std::wstring *out)
{
    out->clear();
    while (p < end && *p != endChar) {
        unsigned char c = (unsigned char)*p;
        if (c >= 0x80) return NULL;   // never written raw; its meaning would depend on a code page
        if (c != '\\') { out->push_back((wchar_t)c); ++p; continue; }
        ++p;
        if (p >= end) return NULL;
        char e = *p;
        switch (e) {
        case 'a': out->push_back(L'\a'); ++p; break;
        case 'b': out->push_back(L'\b'); ++p; break;
        case 'e': out->push_back((wchar_t)27); ++p; break;
        case 'f': out->push_back(L'\f'); ++p; break;
        case 'n': out->push_back(L'\n'); ++p; break;
        case 'r': out->push_back(L'\r'); ++p; break;
        case 't': out->push_back(L'\t'); ++p; break;
        case 'v': out->push_back(L'\v'); ++p; break;
        case 'x': {
            ++p;
            if (p >= end || HexDigit(*p) < 0) { out->push_back(L'x'); break; }
            unsigned v = 0;
            for (int i = 0; i < 4 && p < end && HexDigit(*p) >= 0; ++i) v = v * 16 + HexDigit(*p++);
            out->push_back((wchar_t)v);
            break;
        }
        case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': {
            unsigned v = 0;
            for (int i = 0; i < 3 && p < end && *p >= '0' && *p <= '7'; ++i) v = v * 8 + (*p++ - '0');
            out->push_back((wchar_t)v);
            break;
        }
        default:
            if ((unsigned char)e >= 0x80) return NULL;
            out->push_back((wchar_t)(unsigned char)e);
            ++p;
            break;
        }
    }
    if (p >= end) return NULL;   // no closing character
    return p + 1;
}

bool OnlyBlanks(const char *p, const char *end)
{
    while (p < end && IsSpace(*p)) ++p;
    return p == end;
}

}  // namespace

bool ValidRegKeyPath(const std::wstring &path)
{
    if (path.empty()) return true;
    size_t start = 0;
    for (;;) {
        size_t next = path.find(L'\\', start);
        size_t len = (next == std::wstring::npos ? path.size() : next) - start;
        if (len == 0 || len > kMaxNameChars) return false;
        if (next == std::wstring::npos) break;
        start = next + 1;
    }
    return path.find(L'\0') == std::wstring::npos;
}

namespace {

class Parser {
public:
    Parser(const char *text, size_t length, RegText *out, std::string *why)
        : m_text(text), m_end(text + length), m_pos(text), m_out(out), m_why(why) {}

    bool Run()
    {
        m_out->keys.clear();
        Line line;
        const char *lineStart;
        if (!NextLine(&line, &lineStart)) return Fail("empty text");
        if ((size_t)(line.end - lineStart) != sizeof kTextHeader - 1 ||
            memcmp(lineStart, kTextHeader, sizeof kTextHeader - 1) != 0)
            return Fail("not registry text");
        RegTextKey *key = NULL;
        while (NextLine(&line, &lineStart)) {
            if (line.p == line.end) continue;
            switch (*line.p) {
            case '[':
                if (key) key->blockEnd = lineStart - m_text;
                m_out->keys.push_back(RegTextKey());
                key = &m_out->keys.back();
                key->link = key->hasClass = false;
                key->blockBegin = lineStart - m_text;
                key->blockEnd = m_end - m_text;
                if (!ParseKeyLine(line, key)) return false;
                break;
            case '@':
            case '"':
                if (!key) return Fail("value before any key");
                if (!ParseValue(line, key)) return false;
                break;
            case '#':
                if (key && !ParseOption(line, key)) return false;
                break;    // options before the first key concern the whole file
            case ';':
                break;
            default:
                return Fail("unrecognised line");
            }
        }
        return CheckWhole();
    }

private:
    bool Fail(const char *why)
    {
        if (m_why) {
            *m_why = why;
            *m_why += " at line ";
            *m_why += std::to_string(m_lineNumber);
        }
        return false;
    }

    bool NextLine(Line *line, const char **lineStart)
    {
        if (m_pos >= m_end) return false;
        const char *start = m_pos;
        const char *nl = (const char *)memchr(start, '\n', m_end - start);
        const char *end = nl ? nl : m_end;
        m_pos = nl ? nl + 1 : m_end;
        if (end > start && end[-1] == '\r') --end;
        ++m_lineNumber;
        *lineStart = start;
        const char *p = start;
        while (p < end && IsSpace(*p)) ++p;
        line->p = p;
        line->end = end;
        return true;
    }

    bool ParseKeyLine(const Line &line, RegTextKey *key)
    {
        // "[path] seconds": the time after the name is the registry's own business.
        if (!ParseEscaped(line.p + 1, line.end, ']', &key->path)) return Fail("malformed key name");
        if (!ValidRegKeyPath(key->path)) return Fail("malformed key path");
        return true;
    }

    bool ParseOption(const Line &line, RegTextKey *key)
    {
        size_t len = line.end - line.p;
        if (len >= 7 && memcmp(line.p, "#class=", 7) == 0) {
            const char *p = line.p + 7;
            if (p >= line.end || *p != '"') return Fail("malformed class");
            const char *after = ParseEscaped(p + 1, line.end, '"', &key->keyClass);
            if (!after || !OnlyBlanks(after, line.end)) return Fail("malformed class");
            key->hasClass = true;
        } else if (len >= 5 && memcmp(line.p, "#link", 5) == 0) {
            key->link = true;
        }
        return true;   // "#time=" and options we do not know leave the data alone
    }

    bool ParseHexBytes(const char *p, const char *end, std::string *data)
    {
        for (;;) {
            // One line of "xx,xx,...", perhaps ending with a backslash that continues it.
            while (p < end && HexDigit(*p) >= 0) {
                int hi = HexDigit(*p++);
                int value = hi;
                if (p < end && HexDigit(*p) >= 0) value = hi * 16 + HexDigit(*p++);
                if (p < end && HexDigit(*p) >= 0) return Fail("malformed hex byte");
                data->push_back((char)value);
                while (p < end && IsSpace(*p)) ++p;
                if (p < end && *p == ',') ++p;
                while (p < end && IsSpace(*p)) ++p;
            }
            while (p < end && IsSpace(*p)) ++p;
            if (p == end) return true;
            if (*p != '\\' || !OnlyBlanks(p + 1, end)) return Fail("malformed hex data");
            Line line;
            const char *lineStart;
            if (!NextLine(&line, &lineStart)) return Fail("hex data cut short");
            p = line.p;
            end = line.end;
        }
    }

    bool ParseValue(const Line &line, RegTextKey *key)
    {
        RegTextValue value;
        const char *p = line.p;
        if (*p == '@') {
            ++p;
        } else {
            p = ParseEscaped(p + 1, line.end, '"', &value.name);
            if (!p) return Fail("malformed value name");
            if (value.name.size() > kMaxValueNameChars) return Fail("value name too long");
        }
        while (p < line.end && IsSpace(*p)) ++p;
        if (p >= line.end || *p != '=') return Fail("value without '='");
        ++p;
        while (p < line.end && IsSpace(*p)) ++p;
        size_t rest = line.end - p;

        struct Tag { const char *text; size_t len; DWORD type; };
        static const Tag strings[] = {
            {"\"", 1, REG_SZ}, {"str:\"", 5, REG_SZ}, {"str(2):\"", 8, REG_EXPAND_SZ}, {"str(7):\"", 8, REG_MULTI_SZ}};
        for (const Tag &tag : strings) {
            if (rest < tag.len || memcmp(p, tag.text, tag.len) != 0) continue;
            std::wstring text;
            const char *after = ParseEscaped(p + tag.len, line.end, '"', &text);
            if (!after || !OnlyBlanks(after, line.end)) return Fail("malformed string value");
            text.push_back(L'\0');   // the reader stores the terminating null
            value.type = tag.type;
            value.data.resize(text.size() * sizeof(wchar_t));
            memcpy(&value.data[0], text.data(), value.data.size());
            key->values.push_back(value);
            return true;
        }
        if (rest >= 6 && memcmp(p, "dword:", 6) == 0) {
            p += 6;
            DWORD number = 0;
            int digits = 0;
            while (p < line.end && HexDigit(*p) >= 0) {
                if (++digits > 8) return Fail("malformed dword");
                number = number * 16 + HexDigit(*p++);
            }
            if (digits == 0 || !OnlyBlanks(p, line.end)) return Fail("malformed dword");
            value.type = REG_DWORD;
            value.data.assign((const char *)&number, sizeof number);
            key->values.push_back(value);
            return true;
        }
        if (rest >= 4 && memcmp(p, "hex:", 4) == 0) {
            value.type = REG_BINARY;
            p += 4;
        } else if (rest >= 4 && memcmp(p, "hex(", 4) == 0) {
            p += 4;
            DWORD type = 0;
            int digits = 0;
            while (p < line.end && HexDigit(*p) >= 0) {
                if (++digits > 8) return Fail("malformed value type");
                type = type * 16 + HexDigit(*p++);
            }
            if (digits == 0 || line.end - p < 2 || p[0] != ')' || p[1] != ':') return Fail("malformed value type");
            p += 2;
            value.type = type;
        } else {
            return Fail("unknown value type");
        }
        if (!ParseHexBytes(p, line.end, &value.data)) return false;
        key->values.push_back(value);
        return true;
    }

    // Whole-text rules: each key once, each value once in its key, links hold only
    // their target and nothing lies below them.
    bool CheckWhole()
    {
        std::unordered_set<std::wstring> paths;
        std::unordered_set<std::wstring> links;
        paths.reserve(m_out->keys.size() * 2);
        std::vector<std::wstring> folded;
        for (RegTextKey &key : m_out->keys) {
            key.folded = FoldRegName(key.path);
            if (!paths.insert(key.folded).second) return FailKey("key given twice");
            if (key.link) {
                links.insert(key.folded);
                if (key.values.size() > 1) return FailKey("link with other values");
                if (key.values.size() == 1 &&
                    (CompareRegNames(key.values[0].name, L"SymbolicLinkValue") != 0 || key.values[0].type != REG_LINK))
                    return FailKey("link with other values");
            }
            // The registry saves values in order, so a strictly rising list has no
            // name twice; only another order needs the full check.
            bool rising = true;
            for (size_t i = 1; i < key.values.size() && rising; ++i)
                rising = CompareRegNames(key.values[i - 1].name, key.values[i].name) < 0;
            if (!rising) {
                folded.clear();
                for (const RegTextValue &v : key.values) folded.push_back(FoldRegName(v.name));
                std::sort(folded.begin(), folded.end());
                if (std::adjacent_find(folded.begin(), folded.end()) != folded.end()) return FailKey("value given twice");
            }
        }
        if (!links.empty()) {
            for (const RegTextKey &key : m_out->keys) {
                const std::wstring &path = key.folded;
                if (!path.empty() && links.count(L"")) return FailKey("key below a link");
                for (size_t cut = path.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
                     cut = path.rfind(L'\\', cut - 1)) {
                    if (links.count(path.substr(0, cut))) return FailKey("key below a link");
                }
            }
        }
        return true;
    }

    bool FailKey(const char *why)
    {
        if (m_why) *m_why = why;
        return false;
    }

    const char *m_text;
    const char *m_end;
    const char *m_pos;
    RegText *m_out;
    std::string *m_why;
    int m_lineNumber = 0;
};

}  // namespace

std::wstring FoldRegName(const std::wstring &name)
{
    std::wstring out(name);
    bool wide = false;
    for (wchar_t &c : out) {
        if (c >= L'a' && c <= L'z') c = (wchar_t)(c - 32);
        else if (c >= 0x80) wide = true;
    }
    if (wide) CharUpperBuffW(&out[0], (DWORD)out.size());
    return out;
}

namespace {

wchar_t FoldChar(wchar_t c)
{
    if (c >= L'a' && c <= L'z') return (wchar_t)(c - 32);
    if (c < 0x80) return c;
    return (wchar_t)(ULONG_PTR)CharUpperW((LPWSTR)(ULONG_PTR)c);
}

}  // namespace

int CompareRegNames(const std::wstring &a, const std::wstring &b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = FoldChar(a[i]), y = FoldChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool ParseRegText(const char *text, size_t length, RegText *out, std::string *why)
{
    Parser parser(text, length, out, why);
    return parser.Run();
}
