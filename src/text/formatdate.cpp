// Date and time formatting.
//
// A date code is copied character by character. Runs of the code letters (y m M d w h n s f a)
// are split greedily from the left into the longest codes that exist, so "mmmm" is the month name
// followed by the month number; every other character, including other letters, stands for
// itself. A backslash quotes the next character and '...' or "..." quote a stretch of text.
//
// The output never outgrows the formatter's 256-byte result: copying stops once fewer than 11
// bytes are left, and any single piece (a long month name set by the user) is cut to what still
// fits.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

#include <plotvane/constants.h>

#include "foundation/charttime_p.h"
#include "text/formatter_p.h"

namespace plotvane {

namespace {

// Bytes that must stay free before another piece of the code is started.
constexpr size_t kReserve = 11;

struct DateParts {
    long long year = 1;
    int month = 1;
    int day = 1;
    int weekDay = 0;  // 0 = Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int fraction = 0;  // ten-thousandths of a second
};

DateParts splitChartTime(double t) {
    DateParts parts;
    CalendarDate date = calendarDateOf(t);
    parts.year = date.year;
    parts.month = date.month;
    parts.day = date.day;
    long long dayNumber = daysBeforeYear(date.year) + date.dayOfYear;
    parts.weekDay = static_cast<int>(((dayNumber + 1) % 7 + 7) % 7);
    long long secondOfDay = truncateTime(std::floor(t)) - dayNumber * 86400;
    secondOfDay = std::clamp(secondOfDay, 0LL, 86399LL);
    parts.hour = static_cast<int>(secondOfDay / 3600);
    parts.minute = static_cast<int>(secondOfDay / 60 % 60);
    parts.second = static_cast<int>(secondOfDay % 60);
    double fraction = std::round((t - std::trunc(t)) * 10000);
    parts.fraction = static_cast<int>(std::clamp(fraction, 0.0, 9999.0));
    return parts;
}

// Whether the code has an "a" outside quotes and escapes, which selects the 12-hour clock.
bool usesTwelveHourClock(const char* code) {
    for (const char* p = code; *p; ++p) {
        if (*p == '\\') {
            if (!*++p) break;
        } else if (*p == '\'' || *p == '"') {
            const char* close = std::strchr(p + 1, *p);
            if (!close) break;
            p = close;
        } else if (*p == 'a') {
            return true;
        }
    }
    return false;
}

// The longest code each letter forms; the letter is not a code when absent.
int longestCode(char c) {
    switch (c) {
    case 'y': return 4;
    case 'm': case 'M': case 'f': return 3;
    case 'd': case 'h': case 'n': case 's': return 2;
    case 'w': case 'a': return 1;
    default: return 0;
    }
}

class DateWriter {
public:
    explicit DateWriter(size_t capacity) : capacity_(capacity) {}

    // capacity_ counts the text only; the result buffer also holds the terminating NUL.
    bool full() const { return out_.size() + kReserve > capacity_ + 1; }
    // Whatever does not fit is dropped, never half a UTF-8 character.
    void put(const char* text, size_t n) {
        size_t room = capacity_ - out_.size();
        if (n > room) {
            n = room;
            while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xc0) == 0x80) --n;
        }
        out_.append(text, n);
    }
    void put(const char* text) { put(text, std::strlen(text)); }
    // Zero-padded to `width` digits; years before year 1 keep their minus sign in front.
    void number(long long v, int width) {
        std::string digits = std::to_string(v < 0 ? -v : v);
        if (digits.size() < static_cast<size_t>(width)) digits.insert(0, width - digits.size(), '0');
        if (v < 0) digits.insert(digits.begin(), '-');
        put(digits.c_str());
    }
    const std::string& text() const { return out_; }

private:
    size_t capacity_;
    std::string out_;
};

// The first `count` characters of a name, ASCII letters in upper case.
std::string upperPrefix(const char* name, int count) {
    std::string out;
    for (const char* p = name; *p && count > 0; --count) {
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(*p++)));
        while ((static_cast<unsigned char>(*p) & 0xc0) == 0x80) out += *p++;
    }
    return out;
}

void writeCode(DateWriter& out, char letter, int length, const DateParts& d, bool twelveHour,
               const Formatter& formatter) {
    const char* monthName = formatter.getMonthNames()[d.month - 1];
    int hour = twelveHour ? (d.hour + 11) % 12 + 1 : d.hour;
    switch (letter) {
    case 'y':
        if (length == 4) out.number(d.year, 4);
        else if (length == 3) out.number((d.year % 1000 + 1000) % 1000, 3);
        else if (length == 2) out.number((d.year % 100 + 100) % 100, 2);
        else out.number(d.year, 1);
        break;
    case 'm':
        if (length == 3) out.put(monthName);
        else out.number(d.month, length);
        break;
    case 'M': out.put(upperPrefix(monthName, length).c_str()); break;
    case 'd': out.number(d.day, length); break;
    case 'w': out.put(formatter.getWeekDayNames()[d.weekDay]); break;
    case 'h': out.number(hour, length); break;
    case 'n': out.number(d.minute, length); break;
    case 's': out.number(d.second, length); break;
    case 'f': out.number(d.fraction / (length == 1 ? 1000 : length == 2 ? 100 : 10), length); break;
    case 'a': out.put(formatter.getAMPM()[d.hour < 12 ? 0 : 1]); break;
    default: break;
    }
}

}  // namespace

const char* Formatter::formatDate(const char* code, double value) {
    if (code && code[0] == kMachineMode) ++code;
    if (!code || !*code || value == Chart::NoValue || !std::isfinite(value)) return setResult(std::string());
    DateParts parts = splitChartTime(value);
    bool twelveHour = usesTwelveHourClock(code);
    DateWriter out(kMaxResult);
    const char* p = code;
    while (*p && !out.full()) {
        char c = *p;
        if (c == '\\') {
            if (!p[1]) break;
            out.put(p + 1, 1);
            p += 2;
        } else if (c == '\'' || c == '"') {
            const char* close = std::strchr(p + 1, c);
            const char* end = close ? close : p + 1 + std::strlen(p + 1);
            out.put(p + 1, static_cast<size_t>(end - p - 1));
            p = close ? close + 1 : end;
        } else if (int longest = longestCode(c)) {
            int run = 1;
            while (run < longest && p[run] == c) ++run;
            writeCode(out, c, run, parts, twelveHour, *this);
            p += run;
        } else {
            out.put(p, 1);
            ++p;
        }
    }
    return setResult(out.text());
}

}  // namespace plotvane
