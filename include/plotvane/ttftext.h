#ifndef PLOTVANE_TTFTEXT_H
#define PLOTVANE_TTFTEXT_H

#include <plotvane/chart.h>
#include <plotvane/export.h>

#include <cstddef>

namespace plotvane {

class DrawArea;

// Laid-out text: one or more lines of glyphs in known fonts, ready to be drawn on a DrawArea.
class PLOTVANE_API TTFText {
public:
    virtual ~TTFText() = default;
    virtual void destroy() = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual int getLineWidth() const { return getWidth(); }
    virtual int getLineHeight() const { return getHeight(); }
    virtual int getLineDistance() const = 0;
    virtual int getAscender() const = 0;
    virtual int getDescender() const = 0;
    // Lays out the current line from pen position x within maxWidth, on at most maxLines lines;
    // true when the line had to be truncated and text remained.
    virtual bool startLayout(int x, int maxWidth, int maxLines) = 0;
    // The rest of the text after the current line, or null; owned by this object.
    virtual TTFText* getNextLine() = 0;
    virtual void draw(int x, int y, int color, int alignment) = 0;
    virtual void drawOn(DrawArea* d, int x, int y, int color, int alignment) = 0;

    // text is UTF-8. A height or width above 4096 points stands for 100; maxWidth below 1 means
    // unlimited. Never null.
    static TTFText* create(DrawArea* d, const char* text, const char* font, int fontIndex, double height,
                           double width, double angle, bool vertical, int renderMode, int maxWidth = 0,
                           int maxLines = 0x7fffffff);
    static TTFText* create(DrawArea* d, const wchar_t* text, const char* font, int fontIndex, double height,
                           double width, double angle, bool vertical, int renderMode, int maxWidth = 0,
                           int maxLines = 0x7fffffff);
    static void destroy(TTFText* t);

    // Searches for a font as text would, writing one line per file tried into buffer (always
    // NUL-terminated, truncated at its end); true when a face was found.
    static bool test(const char* font, int fontIndex, double height, double width, double angle, char* buffer,
                     int bufferLength);
};

}  // namespace plotvane

#endif
