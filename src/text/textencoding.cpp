#include "text/textencoding_p.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace plotvane {

bool decodeUtf8(const char* s, std::u32string& out) {
    out.clear();
    out.reserve(std::strlen(s));  // never fewer bytes than characters: one allocation
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
        unsigned c = *p++;
        int extra;
        char32_t v;
        char32_t minimum;
        if (c < 0x80) {
            out.push_back(c);
            continue;
        } else if ((c & 0xe0) == 0xc0) {
            extra = 1, v = c & 0x1f, minimum = 0x80;
        } else if ((c & 0xf0) == 0xe0) {
            extra = 2, v = c & 0x0f, minimum = 0x800;
        } else if ((c & 0xf8) == 0xf0) {
            extra = 3, v = c & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xc0) != 0x80) return false;
            v = (v << 6) | (*p++ & 0x3f);
        }
        if (v < minimum || v > 0x10ffff || (v >= 0xd800 && v <= 0xdfff)) return false;
        out.push_back(v);
    }
    return true;
}

std::u32string decodeText(const char* s) {
    std::u32string out;
    if (!s) return out;
    if (decodeUtf8(s, out)) return out;

    std::mbstate_t state{};
    const char* src = s;
    size_t n = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (n != static_cast<size_t>(-1)) {
        std::vector<wchar_t> wide(n + 1);
        state = std::mbstate_t{};
        src = s;
        std::mbsrtowcs(wide.data(), &src, n + 1, &state);
        return widenText(wide.data());
    }

    out.clear();
    for (const auto* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) out.push_back(*p);
    return out;
}

std::u32string widenText(const wchar_t* s) {
    std::u32string out;
    if (!s) return out;
    for (; *s; ++s) out.push_back(static_cast<char32_t>(*s));
    return out;
}

}  // namespace plotvane
