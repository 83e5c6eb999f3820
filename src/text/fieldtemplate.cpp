// The two ways the rest of the library fills a template: with the fields a labelled object knows,
// and with a single value, for a chart's formatValue.
#include <cstring>

#include "text/formatter_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

FieldTemplate::FieldTemplate(const std::string& tmpl, int flags) {
    // Nothing is replaced, so the parser's finished text holds every field as written, where the
    // fill finds it again.
    PVParser parser(tmpl.c_str(), flags);
    while (const char* name = parser.getNextAttr()) {
        fields_.push_back({parser.outputLength(), parser.fieldLength(), name, parser.getFormatString(),
                           parser.escapeFlags(), parser.stripsMarkup(), parser.isInArithmetic()});
    }
    text_ = parser.getResult(nullptr);
}

void FieldTemplate::fill(std::string& out, FieldProvider& provider, Formatter& formatter) const {
    const size_t start = out.size();
    std::string& value = value_;
    size_t pos = 0;
    for (const Field& f : fields_) {
        out.append(text_, pos, f.at - pos);
        value.clear();
        if (!provider.fieldText(f.name, f.format.c_str(), formatter, value))
            out.append(text_, f.at, f.length);
        else if (f.arithmetic)
            out += value;
        else
            appendEscapedFieldValue(out, value.c_str(), f.flags, f.stripMarkup);
        pos = f.at + f.length;
    }
    out.append(text_, pos, std::string::npos);
    // Arithmetic fields are found in the filled text, as a parser round finds them.
    if (out.find('{', start) != std::string::npos)
        out.replace(start, std::string::npos, evaluateArithmeticFields(out.substr(start), formatter));
}

std::string substituteFields(const char* tmpl, int flags, FieldProvider& provider, Formatter& formatter) {
    std::string out;
    FieldTemplate(tmpl ? tmpl : "", flags).fill(out, provider, formatter);
    return out;
}

std::string formatValueWithTemplate(Formatter& formatter, double value, const char* format) {
    if (!format || !std::strchr(format, '{')) return formatter.format(format, value);
    PVParser parser(format, PVParser::LegacyFields);
    while (const char* name = parser.getNextAttr()) {
        if (std::strcmp(name, "value") == 0) parser.replaceAttr(formatter.format(parser.getFormatString(), value));
    }
    return parser.getResult(&formatter);
}

}  // namespace plotvane
