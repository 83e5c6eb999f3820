// The text operations of a drawing area: each lays the text out with the font engine in the
// area's own font table and anti-alias mode, then draws it or hands it to the caller.
#include <plotvane/ttftext.h>

#include "draw/drawarea_p.h"

namespace plotvane {

void DrawAreaImpl::text(const char* str, const char* font, double fontSize, int x, int y, int color) {
    text(str, font, 0, fontSize, fontSize, 0, false, x, y, color, Chart::TopLeft);
}

void DrawAreaImpl::text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                        double angle, bool vertical, int x, int y, int color, int alignment) {
    if (!str || !*str) return;
    TTFText* laidOut = textEx(str, font, fontIndex, fontHeight, fontWidth, angle, vertical, 0, 0x7fffffff);
    laidOut->drawOn(this, x, y, color, alignment);
    laidOut->destroy();
}

TTFText* DrawAreaImpl::text(const char* str, const char* font, double fontSize) {
    return textEx(str, font, 0, fontSize, fontSize, 0, false, 0, 0x7fffffff);
}

TTFText* DrawAreaImpl::text(const char* str, const char* font, int fontIndex, double fontHeight, double fontWidth,
                            double angle, bool vertical) {
    return textEx(str, font, fontIndex, fontHeight, fontWidth, angle, vertical, 0, 0x7fffffff);
}

TTFText* DrawAreaImpl::text(const wchar_t* str, const char* font, int fontIndex, double fontHeight,
                            double fontWidth, double angle, bool vertical) {
    return textEx(str, font, fontIndex, fontHeight, fontWidth, angle, vertical, 0, 0x7fffffff);
}

TTFText* DrawAreaImpl::textEx(const char* str, const char* font, int fontIndex, double fontHeight,
                              double fontWidth, double angle, bool vertical, int maxWidth, int maxLines) {
    return TTFText::create(this, str ? str : "", font, fontIndex, fontHeight, fontWidth, angle, vertical,
                           textAntiAlias_, maxWidth, maxLines);
}

TTFText* DrawAreaImpl::textEx(const wchar_t* str, const char* font, int fontIndex, double fontHeight,
                              double fontWidth, double angle, bool vertical, int maxWidth, int maxLines) {
    return TTFText::create(this, str ? str : L"", font, fontIndex, fontHeight, fontWidth, angle, vertical,
                           textAntiAlias_, maxWidth, maxLines);
}

void DrawAreaImpl::close(TTFText* text) { TTFText::destroy(text); }

bool DrawArea::testFont(const char* font, int fontIndex, double height, double width, double angle, char* buffer,
                        int bufferLength) {
    return TTFText::test(font, fontIndex, height, width, angle, buffer, bufferLength);
}

}  // namespace plotvane
