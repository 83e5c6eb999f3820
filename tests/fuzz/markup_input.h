#ifndef PLOTVANE_TESTS_FUZZ_MARKUP_INPUT_H
#define PLOTVANE_TESTS_FUZZ_MARKUP_INPUT_H

// One fuzz input through the markup layout. Byte 0 picks the angle, width and line limits,
// vertical text and the alignment; the rest is the marked-up text, laid out twice and drawn.
// Shared by the libFuzzer target and the test that replays the seed corpus.

#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace plotvane_fuzz {

inline void runMarkupInput(const uint8_t* data, size_t size) {
    if (size < 1) return;
    int flags = data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Image names are file names: keep the fuzzer away from devices that never end.
    if (text.find("/dev") != std::string::npos || text.find("/proc") != std::string::npos) return;

    plotvane::DrawArea* d = plotvane::DrawArea::create();
    d->setSize(200, 150, 0xffffff);
    double angles[] = {0, 90, 30, 45.5};
    int maxWidth = (flags & 4) ? 120 : 0;
    int maxLines = (flags & 8) ? 2 : 0x7fffffff;
    plotvane::TTFText* t = plotvane::TTFText::create(d, text.c_str(), "arial.ttf", 0, 10, 10, angles[flags & 3],
                                                     (flags & 16) != 0, 2, maxWidth, maxLines);
    t->drawOn(d, 100, 75, 0x000000, 1 + (flags >> 5));
    t->startLayout(0, 60, 3);
    t->drawOn(d, 0, 0, plotvane::Chart::TextColor, plotvane::Chart::TopLeft);
    t->destroy();
    d->outAGF();
    d->destroy();
}

}  // namespace plotvane_fuzz

#endif
