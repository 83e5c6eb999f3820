#include <plotvane/chart.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "text/extrafields_p.h"
#include "text/formatter_p.h"
#include "text/pvparser_p.h"

using namespace plotvane;

namespace {

// A labelled object with a few numeric and text fields.
class Fields : public FieldProvider {
public:
    std::map<std::string, double> numbers{{"value", 1234.567}, {"x", 3}};
    std::map<std::string, std::string> texts{{"xLabel", "Jan"}};
    bool fieldText(const std::string& name, const char* format, Formatter& formatter, std::string& text) override {
        if (auto n = numbers.find(name); n != numbers.end()) {
            text = formatter.format(format, n->second);
            return true;
        }
        if (auto t = texts.find(name); t != texts.end()) {
            text = t->second;
            return true;
        }
        return false;
    }
};

std::string fill(const char* tmpl, int flags = 0) {
    Fields fields;
    Formatter formatter;
    return substituteFields(tmpl, flags, fields, formatter);
}

std::string fillText(const char* tmpl, const char* text, int flags) {
    Fields fields;
    fields.texts["t"] = text;
    Formatter formatter;
    return substituteFields(tmpl, flags, fields, formatter);
}

std::string evaluate(const char* expression) {
    Formatter formatter;
    return evaluateArithmeticFields(std::string("{=") + expression + "}", formatter);
}

}  // namespace

TEST(FormatTemplate, FieldsAndTheirFormats) {
    EXPECT_EQ(fill("{xLabel}: {value|,.}"), "Jan: 1,234.567");
    EXPECT_EQ(fill("{value|2}"), "1234.57");
    EXPECT_EQ(fill("{value}"), "1234.567");
    EXPECT_EQ(fill("[{x|2}] {xLabel|2}"), "[3.00] Jan");
    EXPECT_EQ(fill("no fields"), "no fields");
    EXPECT_EQ(fill(""), "");
    EXPECT_EQ(fill(nullptr), "");
    // Unknown fields stay as written, format and all.
    EXPECT_EQ(fill("{other|2} {value|0} {}"), "{other|2} 1235 {}");
    // A format may hold anything but "}": date codes with quotes, line breaks and bars.
    Fields fields;
    fields.numbers["value"] = Chart::chartTime(2024, 3, 5, 13, 7, 0);
    Formatter formatter;
    EXPECT_EQ(substituteFields("{value|d mmm 'at' h:nna}", 0, fields, formatter), "5 Mar at 1:07pm");
    EXPECT_EQ(substituteFields("{value|mm/dd/yy\nhh:nn}", 0, fields, formatter), "03/05/24\n13:07");
    EXPECT_EQ(substituteFields("{value|yyyy|mm}", 0, fields, formatter), "2024|03");
    // The value of a field is never scanned again for fields.
    fields.texts["xLabel"] = "{value}";
    EXPECT_EQ(substituteFields("{xLabel}", 0, fields, formatter), "{value}");
}

TEST(FormatTemplate, ParserProtocol) {
    PVParser parser("a{one|x}b{two}c{three|y}", 0);
    EXPECT_STREQ(parser.getNextAttr(), "one");
    EXPECT_STREQ(parser.getFormatString(), "x");
    parser.replaceAttr("1");
    EXPECT_STREQ(parser.getNextAttr(), "two");  // left unreplaced
    EXPECT_STREQ(parser.getFormatString(), "");
    EXPECT_STREQ(parser.getNextAttr(), "three");
    parser.replaceAttr(nullptr);
    parser.replaceAttr("ignored: no current field");
    EXPECT_EQ(parser.getNextAttr(), nullptr);
    EXPECT_EQ(parser.getNextAttr(), nullptr);
    EXPECT_STREQ(parser.getResult(nullptr), "a1b{two}c");

    // Names and formats are cut to 255 bytes, but an unknown field keeps all it had.
    std::string longName(300, 'n');
    std::string tmpl = "{" + longName + "|" + std::string(300, 'f') + "}";
    PVParser cut(tmpl.c_str(), 0);
    EXPECT_EQ(std::strlen(cut.getNextAttr()), 255u);
    EXPECT_EQ(std::strlen(cut.getFormatString()), 255u);
    EXPECT_EQ(std::string(cut.getResult(nullptr)), tmpl);
}

TEST(FormatTemplate, EscapingSubstitutedValues) {
    EXPECT_EQ(fillText("{t}", "a b&c", PVParser::EscapeUrl), "a%20b%26c");
    EXPECT_EQ(fillText("{t}", " %?&+=#", PVParser::EscapeUrl), "%20%25%3F%26%2B%3D%23");
    EXPECT_EQ(fillText("{t}", "'\"><", PVParser::EscapeHtml), "&#39;&#34;&#62;<");
    EXPECT_EQ(fillText("{t}", "'x\"", PVParser::EscapeUrl), "&#39;x&#34;");  // URLs sit in HTML too
    EXPECT_EQ(fillText("{t}", "it's \"q\"\n\\", PVParser::EscapeJs), "it\\'s \\\"q\\\"\\n\\\\");
    EXPECT_EQ(fillText("{t}", "'", PVParser::EscapeJs | PVParser::EscapeHtml), "\\&#39;");
    EXPECT_EQ(fillText("{t}", "a b'", 0), "a b'");
    // The template itself is never escaped, only what is substituted.
    EXPECT_EQ(fillText("x=1&y={t}", "1 2", PVParser::EscapeUrl), "x=1&y=1%202");

    // Markup stripping comes first and is on whenever some escaping is asked for.
    const char* marked = "<*font=bold*>A<*br*>B<* BR,x*>C<<*D<*color=red";
    EXPECT_EQ(fillText("{t}", marked, PVParser::EscapeHtml), "A B C<*D");
    EXPECT_EQ(fillText("{t}", marked, 0), marked);
    EXPECT_EQ(fillText("{escape_pvml}{t}", marked, 0), "A B C<*D");
    EXPECT_EQ(fillText("{noescape_pvml}{t}", "<*b*>x y", PVParser::EscapeUrl), "<*b*&#62;x%20y");
    EXPECT_EQ(fillText("{t}", "<*brown*>x", PVParser::EscapeHtml), "x");
}

TEST(FormatTemplate, EscapeDirectives) {
    const int url = PVParser::EscapeUrl;
    EXPECT_EQ(fillText("{t}{escape_html}{t}", "'", 0), "'&#39;");
    EXPECT_EQ(fillText("{t}{noescape_url}{t}", "a b", url), "a%20ba b");
    EXPECT_EQ(fillText("{t}{escape_url}{t}", "a b", 0), "a ba%20b");
    EXPECT_EQ(fillText("{escape_js}{t}{noescape_js}{t}", "'", 0), "\\''");
    EXPECT_EQ(fillText("{escape_js}{noescape_html}{t}", "'", PVParser::EscapeHtml), "'");
    // Directives vanish even when they carry a format.
    EXPECT_EQ(fillText("<{escape_html|2}>", "x", 0), "<>");
    // javascript: links get HTML escaping instead of URL escaping.
    EXPECT_EQ(fillText("JavaScript:f('{t}')", "a b'", url), "JavaScript:f('a b&#39;')");
    EXPECT_EQ(fillText("https://javascript:{t}", "a b", url), "https://javascript:a%20b");
}

TEST(FormatTemplate, LegacyAmpersandFields) {
    const int legacy = PVParser::LegacyFields;
    EXPECT_EQ(fill("&value|2&", legacy), "1234.57");
    EXPECT_EQ(fill("&value|2&", 0), "&value|2&");
    EXPECT_EQ(fill("&xLabel& and {value|0}", legacy), "Jan and 1235");
    // With a "{" between the two ampersands the braces win.
    EXPECT_EQ(fill("a&b{value|0}c&d", legacy), "a&b1235c&d");
    EXPECT_EQ(fill("{value|0}&y&", legacy), "1235&y&");
    EXPECT_EQ(fill("&&&", legacy), "&&&");
    EXPECT_EQ(fill("&xLabel", legacy), "&xLabel");
}

TEST(FormatTemplate, ArithmeticFields) {
    Fields fields;
    Formatter formatter;
    fields.numbers["value"] = 0.1234;
    EXPECT_EQ(substituteFields("{={value}*100|1}%", 0, fields, formatter), "12.3%");
    EXPECT_EQ(substituteFields("{=1+2+3}", 0, fields, formatter), "6");
    EXPECT_EQ(substituteFields("{= {x} * {x} |2} and {x}", 0, fields, formatter), "9.00 and 3");
    // Fields inside are neither separated nor escaped, whatever the formatter and flags say.
    formatter.setNumberFormat(',', ';', '-');
    fields.numbers["value"] = 12345.5;
    fields.texts["t"] = "1 + 1";
    EXPECT_EQ(substituteFields("{={value|2}*2|1}", PVParser::EscapeUrl, fields, formatter), "24,691;0");
    EXPECT_EQ(substituteFields("{={t}}", PVParser::EscapeUrl, fields, formatter), "2");
    EXPECT_EQ(substituteFields("{={value}/{x}|2} {t}", PVParser::EscapeUrl, fields, formatter),
              "4,115;17 1%20%2B%201");
    // A missing value is the empty text, which counts as 0.
    fields.numbers["value"] = Chart::NoValue;
    EXPECT_EQ(substituteFields("{=1+{value}}", 0, fields, formatter), "1");
    // An unknown field inside stays, and its "}" cuts the expression short.
    EXPECT_EQ(substituteFields("{={nothing}+5}", 0, fields, formatter), "0+5}");
    // Without a formatter nothing is evaluated.
    PVParser raw("{=1+1}", 0);
    EXPECT_EQ(raw.getNextAttr(), nullptr);
    EXPECT_STREQ(raw.getResult(nullptr), "{=1+1}");
}

TEST(FormatTemplate, ExpressionGrammar) {
    EXPECT_EQ(evaluate("2*3^2"), "36");      // one precedence level, left to right
    EXPECT_EQ(evaluate("2+3*4"), "14");
    EXPECT_EQ(evaluate("10-4-3"), "3");
    EXPECT_EQ(evaluate("2*(3+4)"), "14");
    EXPECT_EQ(evaluate(" ( 1 + 2 ) * 3 "), "9");
    EXPECT_EQ(evaluate("7%3"), "1");
    EXPECT_EQ(evaluate("-7%3"), "-1");
    EXPECT_EQ(evaluate("2^-1"), "0.5");
    EXPECT_EQ(evaluate("-(-3)"), "3");
    EXPECT_EQ(evaluate("+4"), "4");
    EXPECT_EQ(evaluate("1e+5/1E-2"), "10000000");
    EXPECT_EQ(evaluate("1.5e3"), "1500");
    EXPECT_EQ(evaluate("\t2 \t* 3"), "6");
    EXPECT_EQ(evaluate("abc+2"), "2");      // not a number: 0
    EXPECT_EQ(evaluate("3*"), "0");         // empty factor: 0
    EXPECT_EQ(evaluate(""), "0");
    EXPECT_EQ(evaluate("1/0"), "inf");
    EXPECT_EQ(evaluate("-1/0"), "-inf");
    EXPECT_EQ(evaluate("0/0"), "nan");
    EXPECT_EQ(evaluate("1e999"), "inf");
    EXPECT_EQ(evaluate("1e-999+1"), "1");
    EXPECT_EQ(evaluate("(1+2"), "3");

    Formatter formatter;
    EXPECT_EQ(evaluateArithmeticFields("a{ =1+1|1}b{=2}", formatter), "a2.0b2");
    EXPECT_EQ(evaluateArithmeticFields("{x} {=1+1", formatter), "{x} {=1+1");
    EXPECT_EQ(evaluateArithmeticFields("{=1|2", formatter), "{=1|2");
    EXPECT_EQ(evaluateArithmeticFields("{={=1}}", formatter), "0}");
    EXPECT_EQ(evaluateExpression(nullptr, nullptr), 0);
}

TEST(FormatTemplate, ExtraFields) {
    ExtraFields extra;
    const double numbers[] = {1.5, Chart::chartTime(2024, 3, 5), Chart::chartTime(2024, 3, 5, 6, 7, 8), 1e9};
    const char* const names[] = {"alpha", nullptr, "gamma"};
    extra.addExtraField(DoubleArray(numbers, 4));
    extra.addExtraField(StringArray(names, 3));
    extra.addExtraField(DoubleArray(nullptr, -5));
    EXPECT_EQ(extra.size(), 3);

    Formatter formatter;
    auto text = [&](const char* name, int dataSet, int item, const char* format = "") {
        std::string out = "<none>";
        extra.fieldText(name, format, formatter, dataSet, item, out);
        return out;
    };
    EXPECT_EQ(text("field0", 0, 0), "1.5");
    EXPECT_EQ(text("field0", 0, 0, "2"), "1.50");
    EXPECT_EQ(text("field0", 0, 1), "Mar 05, 2024");            // dates are recognised
    EXPECT_EQ(text("field0", 0, 2), "Mar 05, 2024 06:07:08");
    EXPECT_EQ(text("field0", 0, 3), "1000000000");
    EXPECT_EQ(text("field0", 0, 1, "yyyy"), "2024");
    EXPECT_EQ(text("field1", 0, 2), "gamma");
    EXPECT_EQ(text("field1", 0, 1), "");                         // a null text is empty
    EXPECT_EQ(text("field1", 0, 7), "");                         // texts past the end are empty
    EXPECT_EQ(text("field0", 0, 7), "<none>");                   // numbers past the end stay
    EXPECT_EQ(text("field2", 0, 0), "<none>");
    EXPECT_EQ(text("field3", 0, 0), "<none>");
    EXPECT_EQ(text("dsField1", 2, 0), "gamma");                  // element by data set
    EXPECT_EQ(text("diField1", 2, 0), "alpha");                  // element by data item
    EXPECT_EQ(text("dsdiField0", 1, 0), "alpha");                // column by data set + N
    EXPECT_EQ(text("dsdiField1", -1, 0), "1.5");
    EXPECT_EQ(text("dsdiField0", -1, 0), "<none>");
    EXPECT_EQ(text("field01", 0, 0), "alpha");
    EXPECT_EQ(text("field", 0, 0), "<none>");
    EXPECT_EQ(text("field1x", 0, 0), "<none>");
    EXPECT_EQ(text("field99999999999999999999", 0, 0), "<none>");
    EXPECT_EQ(text("Field0", 0, 0), "<none>");

    PVParser parser("{field1}-{field7}-{value}", 0);
    while (const char* name = parser.getNextAttr()) extra.formatAttr(parser, formatter, 0, 0, name);
    EXPECT_STREQ(parser.getResult(&formatter), "alpha-{field7}-{value}");
}

TEST(FormatTemplate, FormatValueRule) {
    Formatter formatter;
    EXPECT_EQ(formatValueWithTemplate(formatter, 1234.567, nullptr), "1234.567");
    EXPECT_EQ(formatValueWithTemplate(formatter, 1234.567, "2,"), "1,234.57");
    EXPECT_EQ(formatValueWithTemplate(formatter, 0.5, "{value|1}%"), "0.5%");
    EXPECT_EQ(formatValueWithTemplate(formatter, 0.5, "{={value}*100}%"), "50%");
    EXPECT_EQ(formatValueWithTemplate(formatter, 0.5, "{other} &value|2& {value}"), "{other} 0.50 0.5");
    EXPECT_EQ(formatValueWithTemplate(formatter, Chart::chartTime(2024, 1, 2), "{value|yyyy}"), "2024");
    EXPECT_EQ(formatValueWithTemplate(formatter, Chart::NoValue, "[{value}]"), "[]");
}

TEST(FormatTemplate, MalformedTemplates) {
    EXPECT_EQ(fill("{"), "{");
    EXPECT_EQ(fill("}"), "}");
    EXPECT_EQ(fill("{value"), "{value");
    EXPECT_EQ(fill("{value|2"), "{value|2");
    EXPECT_EQ(fill("{value|2} {x {value|0}"), "1234.57 {x {value|0}");  // the name runs to the "}"
    EXPECT_EQ(fill("{value} {"), "1234.567 {");                         // "{" alone ends the scan
    EXPECT_EQ(fill("{|}"), "{|}");
    EXPECT_EQ(fill("{{{{"), "{{{{");
    EXPECT_EQ(fill("{{value}}"), "{{value}}");
    EXPECT_EQ(fill("{=}"), "0");
    EXPECT_EQ(fill("{="), "{=");
    EXPECT_EQ(fill("{={value}").compare(0, 10, "{=1.234567"), 0);
    EXPECT_EQ(fill("{value|999}").size(), 4 + 1 + Formatter::kMaxPrecision);

    // Deep parentheses do not exhaust the stack.
    std::string deep = "{=" + std::string(200000, '(') + "1" + std::string(200000, ')') + "+1}";
    EXPECT_EQ(fill(deep.c_str()), "1");
    deep = "{=" + std::string(200000, '(') + "|2}";
    EXPECT_EQ(fill(deep.c_str()), "0.00");
    std::string signs = "{=" + std::string(100000, '-') + "1}";
    EXPECT_EQ(fill(signs.c_str()), "-1");  // sign, operator, sign, ... and a last minus
}

TEST(FormatTemplate, LargeTemplatesTakeLinearTime) {
    auto start = std::chrono::steady_clock::now();
    const size_t kSize = 1 << 20;
    std::string many;
    while (many.size() < kSize) many += "{value|2}{unknown}&&{";  // ends on an unterminated "{"
    std::string out = fill(many.c_str(), PVParser::LegacyFields | PVParser::EscapeHtml);
    EXPECT_EQ(out.compare(0, 17, "1234.57{unknown}&"), 0);

    std::string fields;
    while (fields.size() < kSize) fields += "{=1+{x}*2}{xLabel}";
    out = fill(fields.c_str(), PVParser::EscapeUrl);
    EXPECT_EQ(out.compare(0, 8, "7Jan7Jan"), 0);

    // Many ampersand pairs before a far brace, and a brace far before its close.
    std::string amps = std::string(kSize, '&') + "{value}";
    EXPECT_EQ(fill(amps.c_str(), PVParser::LegacyFields).size(), kSize + 8);
    std::string wide = "{" + std::string(kSize, 'a') + "}" + std::string(kSize, '}');
    EXPECT_EQ(fill(wide.c_str()).size(), 2 * kSize + 2);
    std::string arithmetic = "{=" + std::string(kSize, '{') + "}";
    EXPECT_FALSE(fill(arithmetic.c_str()).empty());

    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);  // quadratic behaviour would take hours
}
