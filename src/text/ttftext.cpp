#include <plotvane/drawarea.h>
#include <plotvane/ttftext.h>

#include "text/fontdriver_p.h"
#include "text/fontpath_p.h"
#include "text/fontspec_p.h"
#include "text/textencoding_p.h"
#include "text/textlock_p.h"
#include "text/ttftextimpl_p.h"

#include <cmath>
#include <string>

namespace plotvane {

namespace {

double saneSize(double points) { return points > 4096 ? 100 : points; }

// Text in one style. Temporary: once the markup layout is in, it parses the text and builds the runs.
TTFText* createText(DrawArea* d, const std::u32string& text, const char* font, int fontIndex, double height,
                    double width, double angle, bool vertical, int renderMode, int maxWidth, int maxLines) {
    TextLock lock;
    TextStyle style;
    const char* resolved = d ? d->resolveFont(font) : font;
    style.font = resolved && *resolved ? resolved : "arial.ttf";
    style.fontIndex = fontIndex;
    style.height = saneSize(height);
    style.width = saneSize(width);
    style.angle = angle;
    style.renderMode = adjustRenderMode(renderMode, angle);
    auto* run = new TTFTextImpl(d, vertical);
    run->addText(text.data(), text.size(), style);
    run->finish(style);
    double turn = std::fmod(angle, 90);
    if (turn < 0) turn += 90;
    run->setMeasureByInk(turn > 0.1);
    run->startLayout(0, maxWidth < 1 ? 0x7fffffff : maxWidth, maxLines);
    return run;
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

}  // namespace Chart

}  // namespace plotvane
