// Shared members of the base chart class that are host values: palettes as host arrays, host
// colours, folder items, dates and the special numbers.
#include "host/hostextras_p.h"
#include "host/hostglue_p.h"

#include <plotvane/constants.h>

namespace host {

namespace {

constexpr int kPaletteSize = 41;

}  // namespace

REALarray defaultPalette() { return outInts(CChart_defaultPalette(), kPaletteSize); }
REALarray whiteOnBlackPalette() { return outInts(CChart_whiteOnBlackPalette(), kPaletteSize); }
REALarray transparentPalette() { return outInts(CChart_transparentPalette(), kPaletteSize); }

// Host colours keep alpha in the top byte the way library colours keep transparency.
RBInteger colorToInteger(RBColor c, RBInteger alpha) {
    return static_cast<RBInteger>((static_cast<std::uint32_t>(alpha) << 24) | (c & 0xffffff));
}

void setFontSearchPathFolder(REALfolderItem folder) {
    guard([&] { CChart_setFontSearchPath(InPath(folder).c_str()); });
}

REALstring getPath(REALfolderItem item) {
    return guard([&] { return outString(InPath(item).c_str()); });
}

double chartTimeOfDate(REALobject date) {
    return guard([&] {
        if (!date) throw HostRaise{"NilObjectException", "date is nil"};
        return chartTimeOf(date);
    });
}

double kNoValue() { return plotvane::Chart::NoValue; }
double kLogTick() { return plotvane::Chart::LogTick; }
double kDataBound() { return plotvane::Chart::DataBound; }
double kTickInc() { return plotvane::Chart::TickInc; }
double kLinearTick() { return plotvane::Chart::LinearTick; }
double kMinorTickOnly() { return plotvane::Chart::MinorTickOnly; }
double kMicroTickOnly() { return plotvane::Chart::MicroTickOnly; }
double kTouchBar() { return plotvane::Chart::TouchBar; }

}  // namespace host
