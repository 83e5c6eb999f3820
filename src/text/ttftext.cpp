#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include "text/fontdriver_p.h"
#include "text/fontpath_p.h"
#include "text/fontspec_p.h"
#include "text/textencoding_p.h"
#include "text/textlock_p.h"
#include "text/textparser_p.h"
#include "text/ttfblocks_p.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace plotvane {

namespace {

// Every text is markup: the string is the content of a top-level block in the caller's style.
TTFText* createText(DrawArea* d, const std::u32string& text, const char* font, int fontIndex, double height,
                    double width, double angle, bool vertical, int renderMode, int maxWidth, int maxLines) {
    TextLock lock;
    TextStyle style;
    const char* resolved = d ? d->resolveFont(font) : font;
    style.font = resolved && *resolved ? resolved : "arial.ttf";
    style.fontIndex = fontIndex;
    style.height = saneFontSize(height);
    style.width = std::max(0.0, saneFontSize(width));
    style.angle = std::isfinite(angle) ? angle : 0;
    style.renderMode = adjustRenderMode(renderMode, style.angle);
    TTFBlocks* blocks = TTFBlocks::create(d, text, style, style.angle, vertical);
    blocks->startLayout(0, maxWidth < 1 ? 0x7fffffff : maxWidth, maxLines);
    return blocks;
}

}  // namespace

TTFText* TTFText::create(DrawArea* d, const char* text, const char* font, int fontIndex, double height, double width,
                         double angle, bool vertical, int renderMode, int maxWidth, int maxLines) {
    return createText(d, decodeText(text), font, fontIndex, height, width, angle, vertical, renderMode, maxWidth,
                      maxLines);
}

TTFText* TTFText::create(DrawArea* d, const wchar_t* text, const char* font, int fontIndex, double height,
                         double width, double angle, bool vertical, int renderMode, int maxWidth, int maxLines) {
    return createText(d, widenText(text), font, fontIndex, height, width, angle, vertical, renderMode, maxWidth,
                      maxLines);
}

void TTFText::destroy(TTFText* t) {
    if (t) t->destroy();
}

bool TTFText::test(const char* font, int fontIndex, double height, double width, double angle, char* buffer,
                   int bufferLength) {
    return MainFontDriver::testFont(buffer, bufferLength, font, fontIndex, height, width, angle);
}

namespace Chart {

void setFontSearchPath(const char* path) {
    TextLock lock;
    setCustomFontPath(path);
}

const char* getFontSearchPath() {
    TextLock lock;
    return customFontPath().c_str();
}

const char* testFont(const char* font, int fontIndex, double fontHeight, double fontWidth, double angle) {
    thread_local char report[16384];  // an unknown name is searched for twice, then "arial.ttf"
    if (!TTFText::test(font, fontIndex, fontHeight, fontWidth, angle, report, sizeof report) && !*report)
        std::snprintf(report, sizeof report, "No font found for \"%s\"\n", font ? font : "");
    return report;
}

}  // namespace Chart

}  // namespace plotvane
