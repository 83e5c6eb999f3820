// The two ways the rest of the library fills a template: with the fields a labelled object knows,
// and with a single value, for a chart's formatValue.
#include <cstring>

#include "text/formatter_p.h"
#include "text/pvparser_p.h"

namespace plotvane {

std::string substituteFields(const char* tmpl, int flags, FieldProvider& provider, Formatter& formatter) {
    PVParser parser(tmpl, flags);
    std::string text;
    while (const char* name = parser.getNextAttr()) {
        text.clear();
        if (provider.fieldText(name, parser.getFormatString(), formatter, text)) parser.replaceAttr(text.c_str());
    }
    return parser.getResult(&formatter);
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
