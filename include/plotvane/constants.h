#ifndef PLOTVANE_CONSTANTS_H
#define PLOTVANE_CONSTANTS_H

namespace plotvane {
namespace Chart {

// Special numbers. A value is missing exactly when it equals NoValue; no tolerance.
constexpr double NoValue = 1.7e308;
constexpr double LogTick = 1.6e308;
constexpr double LinearTick = 1.5e308;
constexpr double TickInc = 1e200;
constexpr double MinorTickOnly = -1.7e308;
constexpr double MicroTickOnly = -1.6e308;
constexpr double DataBound = -1.7e-100;
constexpr double TouchBar = -1.7e-100;

// Stands for an omitted integer argument, and is the coordinate of a missing value.
constexpr int NoIntValue = static_cast<int>(0x80000001);

// Colours: 0xTTRRGGBB with transparency (not opacity) in the top byte.
constexpr int Transparent = static_cast<int>(0xff000000);
constexpr int Palette = static_cast<int>(0xffff0000);
constexpr int BackgroundColor = static_cast<int>(0xffff0000);
constexpr int LineColor = static_cast<int>(0xffff0001);
constexpr int TextColor = static_cast<int>(0xffff0002);
constexpr int SameAsMainColor = static_cast<int>(0xffff0007);
constexpr int DataColor = static_cast<int>(0xffff0008);

// Dash patterns: on, off, on, off lengths from the top byte down.
constexpr int DashLine = 0x0505;
constexpr int DotLine = 0x0202;
constexpr int DotDashLine = 0x05050205;
constexpr int AltDashLine = 0x0A050505;

// Alignment, laid out as a numeric keypad; also used as directions.
constexpr int BottomLeft = 1;
constexpr int BottomCenter = 2;
constexpr int BottomRight = 3;
constexpr int Left = 4;
constexpr int Center = 5;
constexpr int Right = 6;
constexpr int TopLeft = 7;
constexpr int TopCenter = 8;
constexpr int TopRight = 9;
constexpr int Top = 8;
constexpr int Bottom = 2;
constexpr int TopLeft2 = 10;
constexpr int TopRight2 = 11;
constexpr int BottomLeft2 = 12;
constexpr int BottomRight2 = 13;

// Output formats.
constexpr int PNG = 0;
constexpr int GIF = 1;
constexpr int JPG = 2;
constexpr int WMP = 3;
constexpr int BMP = 4;
constexpr int SVG = 5;
constexpr int SVGZ = 6;
constexpr int PDF = 7;
constexpr int QTIMG = 9;

constexpr int SideLayout = 0;
constexpr int CircleLayout = 1;

// Data symbols. Cross, polygon, star and arrow codes may carry parameters in their upper bits.
constexpr int NoSymbol = 0;
constexpr int SquareSymbol = 1;
constexpr int DiamondSymbol = 2;
constexpr int TriangleSymbol = 3;
constexpr int RightTriangleSymbol = 4;
constexpr int LeftTriangleSymbol = 5;
constexpr int InvertedTriangleSymbol = 6;
constexpr int CircleSymbol = 7;
constexpr int CrossSymbol = 8;
constexpr int Cross2Symbol = 9;
constexpr int Plotvane_PolygonSymbol = 11;
constexpr int Plotvane_Polygon2Symbol = 12;
constexpr int Plotvane_StarSymbol = 13;
constexpr int Plotvane_CustomSymbol = 14;
constexpr int Plotvane_ArrowSymbol = 18;

// Shapes of symbols and legend keys.
constexpr int NoShape = 0;
constexpr int SquareShape = 1;
constexpr int DiamondShape = 2;
constexpr int TriangleShape = 3;
constexpr int RightTriangleShape = 4;
constexpr int LeftTriangleShape = 5;
constexpr int InvertedTriangleShape = 6;
constexpr int CircleShape = 7;
constexpr int CircleShapeNoShading = 10;
constexpr int GlassSphereShape = 15;
constexpr int GlassSphere2Shape = 16;
constexpr int SolidSphereShape = 17;

// How the data sets of one layer combine.
constexpr int Overlay = 0;
constexpr int Stack = 1;
constexpr int Depth = 2;
constexpr int Side = 3;
constexpr int Percentage = 4;

constexpr int NormalLegend = 0;
constexpr int ReverseLegend = 1;
constexpr int NoLegend = 2;

constexpr int PixelScale = 0;
constexpr int XAxisScale = 1;
constexpr int YAxisScale = 2;
constexpr int EndPoints = 3;
constexpr int AngularAxisScale = 1;
constexpr int RadialAxisScale = 2;

constexpr int HLOCDefault = 0;
constexpr int HLOCOpenClose = 1;
constexpr int HLOCUpDown = 2;

constexpr int DiamondPointer = 0;
constexpr int TriangularPointer = 1;
constexpr int ArrowPointer = 2;
constexpr int ArrowPointer2 = 3;
constexpr int LinePointer = 4;
constexpr int PencilPointer = 5;
constexpr int TriangularPointer2 = 6;
constexpr int LinePointer2 = 7;

constexpr int ChartBackZ = 0x100;
constexpr int ChartFrontZ = 0xffff;
constexpr int PlotAreaZ = 0x1000;
constexpr int GridLinesZ = 0x2000;

constexpr int XAxisSymmetric = 1;
constexpr int XAxisSymmetricIfNeeded = 2;
constexpr int YAxisSymmetric = 4;
constexpr int YAxisSymmetricIfNeeded = 8;
constexpr int XYAxisSymmetric = 16;
constexpr int XYAxisSymmetricIfNeeded = 32;

constexpr int XAxisAtOrigin = 1;
constexpr int YAxisAtOrigin = 2;
constexpr int XYAxisAtOrigin = 3;

constexpr int Plotvane_StartOfHourFilterTag = 1;
constexpr int Plotvane_StartOfDayFilterTag = 2;
constexpr int Plotvane_StartOfWeekFilterTag = 3;
constexpr int Plotvane_StartOfMonthFilterTag = 4;
constexpr int Plotvane_StartOfYearFilterTag = 5;
constexpr int Plotvane_RegularSpacingFilterTag = 6;
constexpr int Plotvane_AllPassFilterTag = 7;
constexpr int Plotvane_NonePassFilterTag = 8;
constexpr int Plotvane_SelectItemFilterTag = 9;
constexpr int Plotvane_StartOfMinuteFilterTag = 10;
constexpr int Plotvane_StartOfSecondFilterTag = 11;

constexpr int NormalGlare = 3;
constexpr int ReducedGlare = 2;
constexpr int NoGlare = 1;

constexpr int DirectionHorizontal = 0;
constexpr int DirectionVertical = 1;
constexpr int DirectionHorizontalVertical = 2;

constexpr int AggregateSum = 0;
constexpr int AggregateAvg = 1;
constexpr int AggregateStdDev = 2;
constexpr int AggregateMin = 3;
constexpr int AggregateMed = 4;
constexpr int AggregateMax = 5;
constexpr int AggregatePercentile = 6;
constexpr int AggregateFirst = 7;
constexpr int AggregateLast = 8;
constexpr int AggregateCount = 9;

constexpr int NoAntiAlias = 0;
constexpr int AntiAlias = 1;
constexpr int AutoAntiAlias = 2;
constexpr int ClearType = 3;
constexpr int CompatAntiAlias = 6;

constexpr int TryPalette = 0;
constexpr int ForcePalette = 1;
constexpr int NoPalette = 2;
constexpr int Quantize = 0;
constexpr int OrderedDither = 1;
constexpr int ErrorDiffusion = 2;

constexpr int BoxFilter = 0;
constexpr int LinearFilter = 1;
constexpr int QuadraticFilter = 2;
constexpr int BSplineFilter = 3;
constexpr int HermiteFilter = 4;
constexpr int CatromFilter = 5;
constexpr int MitchellFilter = 6;
constexpr int SincFilter = 7;
constexpr int LanczosFilter = 8;
constexpr int GaussianFilter = 9;
constexpr int HanningFilter = 10;
constexpr int HammingFilter = 11;
constexpr int BlackmanFilter = 12;
constexpr int BesselFilter = 13;

constexpr int AutoGrid = -2;

constexpr int MonotonicNone = 0;
constexpr int MonotonicX = 1;
constexpr int MonotonicY = 2;
constexpr int MonotonicXY = 3;
constexpr int MonotonicAuto = 4;

constexpr int ConstrainedLinearRegression = 0;
constexpr int LinearRegression = 1;
constexpr int ExponentialRegression = -1;
constexpr int LogarithmicRegression = -2;

constexpr int SmoothShading = 0;
constexpr int TriangularShading = 1;
constexpr int RectangularShading = 2;
constexpr int TriangularFrame = 3;
constexpr int RectangularFrame = 4;

constexpr int DefaultShading = 0;
constexpr int FlatShading = 1;
constexpr int LocalGradientShading = 2;
constexpr int GlobalGradientShading = 3;
constexpr int ConcaveShading = 4;
constexpr int RoundedEdgeNoGlareShading = 5;
constexpr int RoundedEdgeShading = 6;
constexpr int RadialShading = 7;
constexpr int RingShading = 8;

}  // namespace Chart
}  // namespace plotvane

#endif
