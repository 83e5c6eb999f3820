#include "vector/vectoroptions_p.h"

#include "draw/outputoptions_p.h"

namespace plotvane {

double VectorOptions::getDouble(const char* key, double def) const {
    const char* value = get(key);
    if (!value || !*value) return def;
    return readCDouble(value);
}

double VectorOptions::getPositiveDouble(const char* key, double def) const {
    double v = getDouble(key, def);
    return v > 0 ? v : def;
}

}  // namespace plotvane
