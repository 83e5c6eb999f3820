#ifndef PLOTVANE_TEXT_FONTDRIVER_P_H
#define PLOTVANE_TEXT_FONTDRIVER_P_H

#include "draw/glyph_p.h"

namespace plotvane {

// Turns font specifications into sized faces.
class FontDriver {
public:
    virtual ~FontDriver() = default;
    // A face with one reference for the caller, or null. height and width are in points.
    virtual FontFace* openFace(const char* name, int fontIndex, double height, double width, double angle) = 0;
    // A face of some installed font that has the character, as near the style (1 bold, 2 italic)
    // as there is; null when no font has it.
    virtual FontFace* openFallback(int ch, int style, double height, double width, double angle) = 0;
    // The same search, reported one line per file tried into [begin, end), NUL-terminated.
    virtual bool testFont(char* begin, char* end, const char* name, int fontIndex, double height, double width,
                          double angle) = 0;
};

// The process-wide driver, created on first use with the search path of that moment and destroyed
// at exit. Font lists ("a.ttf;b.ttf") are handled here. Callers hold the text lock.
class MainFontDriver {
public:
    static FontFace* getFace(const char* name, int fontIndex, double height, double width, double angle);
    // For a character no font of the chosen face has: the FontDriver::openFallback face.
    static FontFace* getFallbackFace(int ch, int style, double height, double width, double angle);
    static bool testFont(char* buffer, int length, const char* name, int fontIndex, double height, double width,
                         double angle);
    // False once the driver has been torn down at exit; faces and glyphs are gone then.
    static bool alive();
};

}  // namespace plotvane

#endif
