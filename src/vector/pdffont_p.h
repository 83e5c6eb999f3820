#ifndef PLOTVANE_VECTOR_PDFFONT_P_H
#define PLOTVANE_VECTOR_PDFFONT_P_H

// Fonts of a PDF document. A face backed by a TrueType file is embedded as a subset behind a
// Type 0 font with Identity-H encoding: character codes are the subset's glyph numbers, given out
// in order of first use, and a ToUnicode map keeps the text searchable. Any other face falls back
// to the standard Type 1 font closest to its name, with single-byte WinAnsi codes; the writer
// draws such a face's glyphs as filled outlines where the face has them.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "draw/glyph_p.h"
#include "vector/pdfdocument_p.h"
#include "vector/ttffontfile_p.h"

namespace plotvane {

class PDFFont {
public:
    virtual ~PDFFont() = default;
    // The font's object number; its resource name is /F and this number.
    int getIndex() const { return index_; }
    bool isArtificialBold() const { return bold_; }
    bool isArtificialItalic() const { return italic_; }
    // A standard font standing in for a face that could not be embedded.
    virtual bool isStandIn() const { return false; }
    // Appends the code of a character as hex digits and returns its advance in thousandths of the
    // font size, or -1 when the font's metrics are not known here.
    virtual int encode(int ch, std::string& hex) = 0;
    // Writes the font objects (at the document's end, when every character is known).
    virtual void outFont(PDFDocument& doc) = 0;

protected:
    PDFFont(int index, bool bold, bool italic) : index_(index), bold_(bold), italic_(italic) {}

private:
    int index_;
    bool bold_, italic_;
};

// The standard font for a face name: Times, Courier, Helvetica (also for Arial and anything
// unknown), Symbol or ZapfDingbats, with "-Bold", "-Italic"/"-Oblique" styles.
std::string mapFontName(const char* name, bool bold, bool italic);

// The fonts of one document, one per font file (or standard font) and synthetic style.
class PDFFontTable {
public:
    PDFFont* getPDFFont(PDFDocument& doc, FontFace* face);
    void outFonts(PDFDocument& doc);

private:
    std::unordered_map<FontFace*, PDFFont*> byFace_;
    std::unordered_map<std::string, std::unique_ptr<PDFFont>> byKey_;
    std::vector<PDFFont*> order_;
};

}  // namespace plotvane

#endif
