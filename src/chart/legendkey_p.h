#ifndef PLOTVANE_CHART_LEGENDKEY_P_H
#define PLOTVANE_CHART_LEGENDKEY_P_H

// What a legend entry asks of whatever it stands for. A layer's data set answers its text by
// filling the legend's entry template with its own fields ("{dataSetName}" and the rest); its
// colour, line width and key icon (a small drawing of its symbol, or none) are given once when
// the entry is added with LegendBoxImpl::addKey.

#include <string>

namespace plotvane {

class LegendText {
public:
    virtual ~LegendText() = default;
    // The entry's text under the legend's template, field values escaped as the parser flags ask.
    virtual std::string getText(const char* format, int escapeFlags = 0) = 0;
};

}  // namespace plotvane

#endif
