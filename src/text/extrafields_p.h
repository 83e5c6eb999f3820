#ifndef PLOTVANE_TEXT_EXTRAFIELDS_P_H
#define PLOTVANE_TEXT_EXTRAFIELDS_P_H

// The extra data columns a program attaches to a chart or layer, reached from templates as
// field<N>, dsField<N>, diField<N> and dsdiField<N>.

#include <plotvane/arrays.h>

#include <string>
#include <vector>

namespace plotvane {

class Formatter;
class PVParser;

class ExtraFields {
public:
    // Each call appends a copy of the array as the next column.
    void addExtraField(StringArray texts);
    void addExtraField(DoubleArray numbers);
    int size() const { return static_cast<int>(entries_.size()); }

    // Whether `name` names an extra field that has a value for this data set and item; its text
    // (numbers formatted with `format`) goes to `text`. A number column has no value outside its
    // array, so such a field stays as written; a text column gives the empty text there.
    bool fieldText(const char* name, const char* format, Formatter& formatter, int dataSetIndex,
                   int dataItemIndex, std::string& text) const;
    // The same for the parser's current field, which it replaces.
    bool formatAttr(PVParser& parser, Formatter& formatter, int dataSetIndex, int dataItemIndex,
                    const char* name) const;

private:
    struct Entry {
        bool isText = false;
        std::vector<std::string> texts;
        std::vector<double> numbers;
    };
    std::vector<Entry> entries_;
};

}  // namespace plotvane

#endif
