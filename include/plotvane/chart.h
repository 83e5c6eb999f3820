#ifndef PLOTVANE_CHART_H
#define PLOTVANE_CHART_H

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>

#include <chrono>

namespace plotvane {
namespace Chart {

// Chart time: seconds since 0001-01-01 00:00:00, proleptic Gregorian, no time zone.
PLOTVANE_API double chartTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// From an operating-system time (seconds since 1970 UTC), through local calendar time: the chart
// shows the wall-clock time of the machine's time zone (1704067200, 2024-01-01T00:00Z, is
// 2023-12-31 19:00 in New York).
PLOTVANE_API double chartTime2(long long t);
// From an operating-system time without any time zone: the chart shows UTC
// (chartTimeUTC(1704067200) == chartTime(2024, 1, 1) everywhere).
PLOTVANE_API double chartTimeUTC(long long t);
// The inverse of chartTimeUTC: seconds since 1970 UTC, rounded down to a whole second.
PLOTVANE_API long long unixTimeUTC(double t);
// The same from and to std::chrono's system clock, which counts UTC; the clock's own range applies
// (1678 to 2261 where it counts nanoseconds).
inline double chartTimeUTC(std::chrono::system_clock::time_point t) {
    return chartTimeUTC(static_cast<long long>(std::chrono::floor<std::chrono::seconds>(t.time_since_epoch()).count()));
}
inline std::chrono::system_clock::time_point systemTimeUTC(double t) {
    return std::chrono::system_clock::time_point(std::chrono::seconds(unixTimeUTC(t)));
}
// year * 10000 + month * 100 + day
PLOTVANE_API int getChartYMD(double t);
// 0 = Sunday
PLOTVANE_API int getChartWeekDay(double t);

// Fractional index of v in the ascending array; -1 for an empty array.
PLOTVANE_API double bSearch(DoubleArray values, double v);

PLOTVANE_API int RGB(int r, int g, int b, int a = 0);

// Packed effect codes accepted as lighting or raised-effect arguments.
PLOTVANE_API int glassEffect(int glareSize = NormalGlare, int glareDirection = Top, int raisedEffect = 5);
PLOTVANE_API int softLighting(int direction = Top, int raisedEffect = 4);
PLOTVANE_API int flatBorder(int thickness);
PLOTVANE_API int barLighting(double startBrightness = 0.75, double endBrightness = 1.5);
// A round surface lit from the front-left: ambient + diffuse * cos + specular * cos^shininess.
// Bars and boxes look like cylinders lying across their shorter side (orientation Center),
// horizontal cylinders (DirectionHorizontal) or upright ones (DirectionVertical). The three
// terms are kept in 32nds up to 1.97, the shininess up to 63.
PLOTVANE_API int cylinderEffect(int orientation = Center, double ambientIntensity = 0.5,
                                double diffuseIntensity = 0.5, double specularIntensity = 0.75, int shininess = 8);
// The same light on a flat face, falling off from its upper left like a low dome.
PLOTVANE_API int phongLighting(double ambientIntensity = 0.5, double diffuseIntensity = 0.5,
                               double specularIntensity = 0.75, int shininess = 8);

// Packed metal colours, turned into shaded brushes by the drawing surface.
PLOTVANE_API int metalColor(int c, int angle = 90);
PLOTVANE_API int goldColor(int angle = 90);
PLOTVANE_API int silverColor(int angle = 90);
PLOTVANE_API int brushedMetalColor(int c, int texture = 2, int angle = 90);
PLOTVANE_API int brushedGoldColor(int texture = 2, int angle = 90);
PLOTVANE_API int brushedSilverColor(int texture = 2, int angle = 90);

// Packed symbol shapes.
PLOTVANE_API int CrossShape(double width = 0.5);
PLOTVANE_API int Cross2Shape(double width = 0.5);
PLOTVANE_API int PolygonShape(int side);
PLOTVANE_API int Polygon2Shape(int side);
PLOTVANE_API int StarShape(int side);
PLOTVANE_API int ArrowShape(double angle = 0, double widthRatio = 1, double stemWidthRatio = 0.5,
                            double stemLengthRatio = 0.5);
PLOTVANE_API int arrowShape(double angle = 0, double widthRatio = 1, double stemWidthRatio = 0.5,
                            double stemLengthRatio = 0.5);

// A label filter for Axis::setMultiFormat from its tag (Plotvane_StartOfHourFilterTag ...): the
// tag in bits 0-3, the label step (1-4095) in bits 4-15 and the initial margin in bits 16-29, in
// hundredths when bit 30 is clear and in whole units when it is set.
PLOTVANE_API int encodeFilter(int filterTag, int labelStep = 1, double initialMargin = 0.05);

// Text anti-alias modes: kind in bits 0-5, gamma * 100 in bits 6-15.
PLOTVANE_API int ClearTypeMono(double gamma = 0);
PLOTVANE_API int ClearTypeColor(double gamma = 0);

// The library's version as (major << 24) | (minor << 16) | patch, and a line naming it.
PLOTVANE_API int getVersion();
PLOTVANE_API const char* getDescription();
// Where fonts are looked for; "%PATH%" in it stands for the default list. Read once, when the first
// text needs a font.
PLOTVANE_API void setFontSearchPath(const char* path);
PLOTVANE_API const char* getFontSearchPath();
// A report of the files tried while looking for a font, one per line, ending with the one found
// (or a line saying none was). Valid until the next call on the same thread.
PLOTVANE_API const char* testFont(const char* font, int fontIndex = 0, double fontHeight = 8, double fontWidth = 8,
                                  double angle = 0);

// Why the last call on this thread that reported failure (false, null, an empty block) failed, for
// example "cannot open /no/dir/a.png: No such file or directory"; "" when none has. Also notes
// silent substitutions, such as a font that was not found. A later success leaves it as it was;
// clearLastError empties it.
PLOTVANE_API const char* lastError();
PLOTVANE_API void clearLastError();

// The built-in palettes, 40 entries each, terminated by 0xffffffff.
PLOTVANE_API extern const int defaultPalette[41];
PLOTVANE_API extern const int whiteOnBlackPalette[41];
PLOTVANE_API extern const int transparentPalette[41];
// A palette whose data colours stay distinct for colour-blind readers: chart->setColors(colorBlindPalette).
PLOTVANE_API extern const int colorBlindPalette[41];
// A perceptually even dark-to-light ramp as (position 0-256, colour) pairs, 0xffffffff at the end:
// DrawArea::gradientColor(IntArray(viridisGradient, 20)) or a colour axis's gradient.
PLOTVANE_API extern const int viridisGradient[21];

}  // namespace Chart
}  // namespace plotvane

#endif
