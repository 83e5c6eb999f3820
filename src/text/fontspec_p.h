#ifndef PLOTVANE_TEXT_FONTSPEC_P_H
#define PLOTVANE_TEXT_FONTSPEC_P_H

// Font names as charts give them: table references, file or family names with an optional face
// index and style words, and the Windows names that stand for the common families.

#include <string>
#include <vector>

namespace plotvane {

// Style flags of a sized face.
enum FontStyleFlag { kType1Font = 1, kSyntheticBold = 2, kSyntheticItalic = 4 };

struct FontSpec {
    std::string text;  // the whole font name, without surrounding blanks
    std::string base;  // file or family name
    int index = 0;     // face index
    int flags = 0;     // kSyntheticBold and kSyntheticItalic requested by trailing words
};

// "name|index bold italic"; the index in the text replaces fontIndex.
FontSpec parseFontSpec(const char* spec, int fontIndex);

struct StandardFont {
    std::string family;
    int style = 0;  // 1 bold, 2 italic
};

// Maps "arialbd.ttf" and friends, and the family names accepted as they are, to a family and a
// style. For a family name the bold and italic requests in flags move into the style and are
// cleared, since a real styled face will be looked for.
bool mapStandardFont(const std::string& name, int& flags, StandardFont& out);

// The file of a freely available face with the same metrics as a standard family in this style
// (Liberation for Arial, Times New Roman and Courier New), or empty.
std::string metricCompatibleFile(const std::string& family, int style);



// Points to pixels at 96 dots per inch, halves rounded up.
int pointsToPixels(double points);

std::string toLowerAscii(std::string s);
bool equalsNoCase(const std::string& a, const char* b);
bool endsWithNoCase(const std::string& s, const char* suffix);

}  // namespace plotvane

#endif
