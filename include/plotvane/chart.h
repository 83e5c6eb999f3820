#ifndef PLOTVANE_CHART_H
#define PLOTVANE_CHART_H

#include <plotvane/arrays.h>
#include <plotvane/constants.h>
#include <plotvane/export.h>

namespace plotvane {
namespace Chart {

// Chart time: seconds since 0001-01-01 00:00:00, proleptic Gregorian, no time zone.
PLOTVANE_API double chartTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// From an operating-system time (seconds since 1970 UTC), through local calendar time.
PLOTVANE_API double chartTime2(long long t);
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

// The built-in palettes, 40 entries each, terminated by 0xffffffff.
PLOTVANE_API extern const int defaultPalette[41];
PLOTVANE_API extern const int whiteOnBlackPalette[41];
PLOTVANE_API extern const int transparentPalette[41];

}  // namespace Chart
}  // namespace plotvane

#endif
