#ifndef PLOTVANE_DRAW_OUTPUTOPTIONS_P_H
#define PLOTVANE_DRAW_OUTPUTOPTIONS_P_H

// Writer options given as text: "key=value" pieces separated by ';', keys and values trimmed of
// blanks and tabs and lower-cased; a piece without '=' has an empty value.

#include <map>
#include <string>

namespace plotvane {

class OutputOptions {
public:
    OutputOptions() = default;
    explicit OutputOptions(const char* text) { parse(text); }
    // Replaces every option with those of the text.
    void parse(const char* text);
    // The value, "" for a key without one, null when absent.
    const char* get(const char* key) const;
    // The default when absent or empty, else the value as a C-locale number (0 when not a number).
    double getDouble(const char* key, double defaultValue) const;
    // As getDouble, and the default again when the result is 0 or less.
    double getPositiveDouble(const char* key, double defaultValue) const;

private:
    std::map<std::string, std::string> values_;
};

// A decimal number written with a point, whatever the process locale says.
double readCDouble(const char* text);

}  // namespace plotvane

#endif
