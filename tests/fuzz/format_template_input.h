#ifndef PLOTVANE_TESTS_FUZZ_FORMAT_TEMPLATE_INPUT_H
#define PLOTVANE_TESTS_FUZZ_FORMAT_TEMPLATE_INPUT_H

// One fuzz input through the formatter and the template parser. Layout: byte 0 holds the parser's
// escape flags (low four bits) and options, the next eight bytes the value's bit pattern, and the
// rest is the template, also tried as a format code and as an expression. Shared by the libFuzzer
// target and the test that replays the seed corpus.

#include <plotvane/arrays.h>
#include <plotvane/constants.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/extrafields_p.h"
#include "text/formatter_p.h"
#include "text/pvparser_p.h"

namespace plotvane_fuzz {

class FuzzFields : public plotvane::FieldProvider {
public:
    FuzzFields(double value, const plotvane::ExtraFields& extra) : value_(value), extra_(extra) {}
    bool fieldText(const std::string& name, const char* format, plotvane::Formatter& formatter,
                   std::string& text) override {
        if (name == "value") {
            text = formatter.format(format, value_);
            return true;
        }
        if (name == "label") {
            text = "<*font=bold*>a b&c'\"<*br*>\n\\<<*x";
            return true;
        }
        return extra_.fieldText(name.c_str(), format, formatter, 1, 2, text);
    }

private:
    double value_;
    const plotvane::ExtraFields& extra_;
};

inline void checkFits(const char* text) {
    if (std::strlen(text) > static_cast<size_t>(plotvane::Formatter::kMaxResult)) std::abort();
}

inline void runFormatTemplateInput(const uint8_t* data, size_t size) {
    if (size < 9) return;
    int flags = data[0] & 0x0f;
    double value;
    std::memcpy(&value, data + 1, sizeof value);
    std::string text(reinterpret_cast<const char*>(data + 9), size - 9);

    plotvane::Formatter chart;
    plotvane::Formatter formatter(&chart);
    if (data[0] & 0x10) {
        const char* months[] = {"janvier", "f\xC3\xA9vrier", "mars"};
        chart.setMonthNames(months, 3);
        chart.setAMPM("AM", nullptr);
        chart.setNumberFormat(',', ';', '~');
        chart.setContextPrecision(data[0] >> 5);
    }
    checkFits(formatter.format(text.c_str(), value));
    checkFits(formatter.formatNumber(text.c_str(), value, (data[0] & 0x20) != 0));
    checkFits(formatter.formatDate(text.c_str(), value));

    plotvane::ExtraFields extra;
    const double numbers[] = {value, 1.5, plotvane::Chart::NoValue};
    const char* const texts[] = {"x", nullptr, "<*b*>z"};
    extra.addExtraField(plotvane::DoubleArray(numbers, 3));
    extra.addExtraField(plotvane::StringArray(texts, 3));
    FuzzFields fields(value, extra);
    plotvane::substituteFields(text.c_str(), flags, fields, formatter);
    plotvane::formatValueWithTemplate(formatter, value, text.c_str());
    plotvane::evaluateExpression(text.data(), text.data() + text.size());
}

}  // namespace plotvane_fuzz

#endif
