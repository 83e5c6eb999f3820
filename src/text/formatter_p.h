#ifndef PLOTVANE_TEXT_FORMATTER_P_H
#define PLOTVANE_TEXT_FORMATTER_P_H

// Turns one number or chart time into text under a format code. A formatter holds the settings
// that codes may inherit (separators, sign, names, context precision); unset settings come from
// the parent formatter, so a chart's parts follow whatever the chart is told.

#include <cstddef>
#include <memory>
#include <string>

namespace plotvane {

class Formatter {
public:
    // Leading byte of a code that asks for machine-readable output (inside arithmetic fields).
    static constexpr char kMachineMode = '\x01';
    // Longest text a format call returns, in bytes (the terminating NUL not counted).
    static constexpr int kMaxResult = 255;
    // Precisions and widths beyond this carry no information for a double and are cut to it.
    static constexpr int kMaxPrecision = 64;

    explicit Formatter(const Formatter* parent = nullptr);
    ~Formatter();
    Formatter(const Formatter&) = delete;
    Formatter& operator=(const Formatter&) = delete;

    // Refuses (returns false) a parent whose chain leads back to this formatter.
    bool setParent(const Formatter* parent);
    const Formatter* getParent() const { return parent_; }

    // '?' (or 0xff) leaves a setting to the parent; '~' (or NUL) means none, which for the
    // decimal point is ".".
    void setNumberFormat(char thousandSeparator, char decimalPoint, char signChar);
    // Returns the previous value; -1 unsets.
    int setContextPrecision(int precision);
    // Copies min(count, 12) names, the rest are empty. A null list unsets the names.
    void setMonthNames(const char* const* names, int count);
    // Copies min(count, 7) names starting with Sunday. A null list unsets the names.
    void setWeekDayNames(const char* const* names, int count);
    // Both null unsets; one null is the empty name.
    void setAMPM(const char* am, const char* pm);

    // Effective settings through the parent chain. A NUL char means none.
    char getThousandSeparator() const;
    char getDecimalPointChar() const;
    char getSignChar() const;
    int getContextPrecision() const;       // -1 for automatic
    const char* const* getMonthNames() const;    // 12 names
    const char* const* getWeekDayNames() const;  // 7 names, Sunday first
    const char* const* getAMPM() const;          // am, pm

    // The returned text belongs to the formatter and is overwritten by its next format call. A
    // null or empty code formats a number with automatic precision.
    const char* format(const char* code, double value);
    const char* formatNumber(const char* code, double value, bool machineMode);
    const char* formatDate(const char* code, double value);
    // The length of the text the last call returned.
    size_t resultLength() const { return resultLength_; }

private:
    struct NameList;
    static constexpr unsigned char kUnset = 0xff;

    const NameList* findNames(std::unique_ptr<NameList> Formatter::*which) const;
    const char* setResult(const std::string& text) { return setResult(text.data(), text.size()); }
    const char* setResult(const char* text, size_t length);

    const Formatter* parent_ = nullptr;
    unsigned char thousandSeparator_ = kUnset;
    unsigned char decimalPoint_ = kUnset;
    unsigned char signChar_ = kUnset;
    int contextPrecision_ = -1;
    std::unique_ptr<NameList> amPm_;
    std::unique_ptr<NameList> weekDayNames_;
    std::unique_ptr<NameList> monthNames_;
    char result_[kMaxResult + 1] = {};
    size_t resultLength_ = 0;
};

// Whether a value lies between the chart times of 1800-01-01 and 2200-01-01 inclusive, the range
// taken as dates wherever a format is chosen automatically.
bool isInDateRange(double value);

}  // namespace plotvane

#endif
