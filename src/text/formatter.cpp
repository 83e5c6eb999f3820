// Formatter settings, their inheritance through the parent chain, and the choice between the number
// and the date worker for a code.
#include "text/formatter_p.h"

#include <plotvane/chart.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace plotvane {

struct Formatter::NameList {
    std::vector<std::string> names;
    std::vector<const char*> pointers;

    NameList(const char* const* source, int sourceCount, int size) : names(size), pointers(size) {
        int n = std::clamp(sourceCount, 0, size);
        for (int i = 0; i < n; ++i) {
            if (source[i]) names[i] = source[i];
        }
        for (int i = 0; i < size; ++i) pointers[i] = names[i].c_str();
    }
};

namespace {
const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kAMPM[2] = {"am", "pm"};

// '?' and 0xff defer to the parent; '~' and NUL mean "none", stored as NUL.
unsigned char storedSetting(char c, unsigned char unset) {
    if (c == '?' || static_cast<unsigned char>(c) == unset) return unset;
    return c == '~' ? 0 : static_cast<unsigned char>(c);
}
}  // namespace

Formatter::Formatter(const Formatter* parent) : parent_(parent) {}

Formatter::~Formatter() = default;

bool Formatter::setParent(const Formatter* parent) {
    for (const Formatter* f = parent; f; f = f->parent_) {
        if (f == this) return false;
    }
    parent_ = parent;
    return true;
}

void Formatter::setNumberFormat(char thousandSeparator, char decimalPoint, char signChar) {
    thousandSeparator_ = storedSetting(thousandSeparator, kUnset);
    decimalPoint_ = storedSetting(decimalPoint, kUnset);
    signChar_ = storedSetting(signChar, kUnset);
}

int Formatter::setContextPrecision(int precision) {
    int previous = contextPrecision_;
    contextPrecision_ = precision < 0 ? -1 : std::min(precision, kMaxPrecision);
    return previous;
}

void Formatter::setMonthNames(const char* const* names, int count) {
    monthNames_ = names ? std::make_unique<NameList>(names, count, 12) : nullptr;
}

void Formatter::setWeekDayNames(const char* const* names, int count) {
    weekDayNames_ = names ? std::make_unique<NameList>(names, count, 7) : nullptr;
}

void Formatter::setAMPM(const char* am, const char* pm) {
    const char* pair[2] = {am, pm};
    amPm_ = (am || pm) ? std::make_unique<NameList>(pair, 2, 2) : nullptr;
}

char Formatter::getThousandSeparator() const {
    for (const Formatter* f = this; f; f = f->parent_) {
        if (f->thousandSeparator_ != kUnset) return static_cast<char>(f->thousandSeparator_);
    }
    return 0;
}

char Formatter::getDecimalPointChar() const {
    for (const Formatter* f = this; f; f = f->parent_) {
        if (f->decimalPoint_ != kUnset) return f->decimalPoint_ ? static_cast<char>(f->decimalPoint_) : '.';
    }
    return '.';
}

char Formatter::getSignChar() const {
    for (const Formatter* f = this; f; f = f->parent_) {
        if (f->signChar_ != kUnset) return static_cast<char>(f->signChar_);
    }
    return '-';
}

int Formatter::getContextPrecision() const {
    for (const Formatter* f = this; f; f = f->parent_) {
        if (f->contextPrecision_ >= 0) return f->contextPrecision_;
    }
    return -1;
}

const Formatter::NameList* Formatter::findNames(std::unique_ptr<NameList> Formatter::*which) const {
    for (const Formatter* f = this; f; f = f->parent_) {
        if (f->*which) return (f->*which).get();
    }
    return nullptr;
}

const char* const* Formatter::getMonthNames() const {
    const NameList* list = findNames(&Formatter::monthNames_);
    return list ? list->pointers.data() : kMonthNames;
}

const char* const* Formatter::getWeekDayNames() const {
    const NameList* list = findNames(&Formatter::weekDayNames_);
    return list ? list->pointers.data() : kWeekDayNames;
}

const char* const* Formatter::getAMPM() const {
    const NameList* list = findNames(&Formatter::amPm_);
    return list ? list->pointers.data() : kAMPM;
}

const char* Formatter::setResult(const char* text, size_t length) {
    size_t n = std::min(length, static_cast<size_t>(kMaxResult));
    std::memcpy(result_, text, n);
    result_[n] = 0;
    resultLength_ = n;
    return result_;
}

const char* Formatter::format(const char* code, double value) {
    if (!code) code = "";
    bool machine = code[0] == kMachineMode;
    if (machine) ++code;
    char first = code[0];
    bool letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    if (letter && !std::strchr("eEgGpP", first)) return formatDate(code, value);
    return formatNumber(code, value, machine);
}

bool isInDateRange(double value) {
    static const double kFirst = Chart::chartTime(1800, 1, 1);
    static const double kLast = Chart::chartTime(2200, 1, 1);
    return value >= kFirst && value <= kLast;
}

}  // namespace plotvane
