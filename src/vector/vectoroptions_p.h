#ifndef PLOTVANE_VECTOR_VECTOROPTIONS_P_H
#define PLOTVANE_VECTOR_VECTOROPTIONS_P_H

// What a vector writer needs from its caller besides the drawing: the output options (already
// parsed into lower-case keys by the drawing area) and a clock for the time stamps, which tests
// replace to get byte-identical files.

#include <ctime>
#include <functional>

namespace plotvane {

struct VectorOptions {
    // The value of an option, "" for a key given without a value, null when absent. May be empty.
    std::function<const char*(const char*)> lookup;
    // Seconds since the epoch; the system clock when empty.
    std::function<std::time_t()> clock;

    const char* get(const char* key) const { return lookup ? lookup(key) : nullptr; }
    bool has(const char* key) const { return get(key) != nullptr; }
    // The default when absent or empty; otherwise the value read as a C-locale decimal number
    // (text that is not a number reads as 0).
    double getDouble(const char* key, double def) const;
    // As getDouble, and the default again when the result is 0 or less.
    double getPositiveDouble(const char* key, double def) const;
    std::time_t now() const { return clock ? clock() : std::time(nullptr); }
};

}  // namespace plotvane

#endif
