#ifndef PLOTVANE_TESTS_PINNEDFONTS_H
#define PLOTVANE_TESTS_PINNEDFONTS_H

// Golden pictures holding text are made with particular font files: another release of a font
// moves glyphs by whole pixels, which no channel tolerance absorbs. Each font a picture uses must
// be found, through the library's own look-up, at the pinned file with the pinned contents;
// otherwise the picture comparison is skipped with the reason, so the suite stays green on any
// machine whatever fonts it has (the text dumps still run).

#include <gtest/gtest.h>

#include <string>

namespace plotvane_test {

// Empty when every pinned font resolves to its pinned file, else what differs.
std::string pinnedFontsMismatch();

}  // namespace plotvane_test

#define PLOTVANE_SKIP_UNLESS_PINNED_FONTS()                                      \
    do {                                                                         \
        std::string pinned_fonts_mismatch = plotvane_test::pinnedFontsMismatch(); \
        if (!pinned_fonts_mismatch.empty()) GTEST_SKIP() << pinned_fonts_mismatch; \
    } while (0)

#endif
