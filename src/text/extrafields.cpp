// Extra field columns and the names that reach them. The name's prefix says how the column and
// the element are chosen: dsField<N> is column N at the data set index, diField<N> and field<N>
// column N at the data item index, dsdiField<N> column (data set index + N) at the data item index.
#include "text/extrafields_p.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "text/formatter_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

namespace {

enum class ColumnBy { Fixed, DataSet };
struct Prefix {
    const char* text;
    ColumnBy column;
    bool elementByDataSet;
};
// Tried in this order; the first that matches decides.
const Prefix kPrefixes[] = {
    {"dsField", ColumnBy::Fixed, true},
    {"diField", ColumnBy::Fixed, false},
    {"field", ColumnBy::Fixed, false},
    {"dsdiField", ColumnBy::DataSet, false},
};

// The decimal number that makes up all of `text`, or -1; large numbers saturate.
long long parseIndex(const char* text) {
    if (!*text) return -1;
    long long n = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9') return -1;
        n = n > INT_MAX ? n : n * 10 + (*text - '0');
    }
    return n;
}

}  // namespace

void ExtraFields::addExtraField(StringArray texts) {
    Entry entry;
    entry.isText = true;
    for (int i = 0; i < texts.len && texts.data; ++i) entry.texts.emplace_back(texts[i] ? texts[i] : "");
    entries_.push_back(std::move(entry));
}

void ExtraFields::addExtraField(DoubleArray numbers) {
    Entry entry;
    if (numbers.len > 0 && numbers.data) entry.numbers.assign(numbers.data, numbers.data + numbers.len);
    entries_.push_back(std::move(entry));
}

bool ExtraFields::fieldText(const char* name, const char* format, Formatter& formatter, int dataSetIndex,
                            int dataItemIndex, std::string& text) const {
    if (!name) return false;
    for (const Prefix& prefix : kPrefixes) {
        size_t length = std::strlen(prefix.text);
        if (std::strncmp(name, prefix.text, length) != 0) continue;
        long long n = parseIndex(name + length);
        if (n < 0) continue;
        long long column = prefix.column == ColumnBy::DataSet ? n + dataSetIndex : n;
        if (column < 0 || column >= size()) return false;
        const Entry& entry = entries_[static_cast<size_t>(column)];
        long long element = prefix.elementByDataSet ? dataSetIndex : dataItemIndex;
        if (entry.isText) {
            bool inside = element >= 0 && element < static_cast<long long>(entry.texts.size());
            text = inside ? entry.texts[static_cast<size_t>(element)] : std::string();
            return true;
        }
        if (element < 0 || element >= static_cast<long long>(entry.numbers.size())) return false;
        double value = entry.numbers[static_cast<size_t>(element)];
        if (format && *format) text = formatter.format(format, value);
        else if (!isInDateRange(value)) text = formatter.format("", value);
        else text = formatter.format(std::fmod(value, 86400) != 0 ? "mmm dd, yyyy hh:nn:ss" : "mmm dd, yyyy", value);
        return true;
    }
    return false;
}

bool ExtraFields::formatAttr(PVParser& parser, Formatter& formatter, int dataSetIndex, int dataItemIndex,
                             const char* name) const {
    std::string text;
    if (!fieldText(name, parser.getFormatString(), formatter, dataSetIndex, dataItemIndex, text)) return false;
    parser.replaceAttr(text.c_str());
    return true;
}

}  // namespace plotvane
