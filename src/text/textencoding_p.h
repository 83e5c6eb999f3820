#ifndef PLOTVANE_TEXT_TEXTENCODING_P_H
#define PLOTVANE_TEXT_TEXTENCODING_P_H

#include <string>

namespace plotvane {

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); false if s is not.
bool decodeUtf8(const char* s, std::u32string& out);

// 8-bit text as UTF-8; failing that, through the C library's multibyte conversion; failing that,
// one code point per byte.
std::u32string decodeText(const char* s);

std::u32string widenText(const wchar_t* s);

}  // namespace plotvane

#endif
