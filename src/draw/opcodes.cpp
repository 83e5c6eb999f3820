#include "draw/opcodes_p.h"

#include <cstddef>

namespace plotvane {

namespace {

const OpInfo kDrawingOps[] = {
    {kOpSetSize, "SetSize", "iix"},
    {kOpResize, "Resize", "ii"},
    {kOpAffineTransform, "AffineTransform", "ddddddxid"},
    {kOpSetClipRect, "SetClipRect", "iiii"},
    {kOpSetBgColor, "SetBgColor", "x"},
    {kOpSetBgRoundedClip, "SetBgRoundedClip", "iiiix"},
    {kOpSetBgDropShadow, "SetBgDropShadow", "iiiix"},
    {kOpLine, "Line", "ddddxi"},
    {kOpPolyLine, "PolyLine", "xiD"},
    {kOpMultiLine, "MultiLine", "?"},
    {kOpRoundedRect, "RoundedRect", "ddddixx"},
    {kOpMultiRoundedRect, "MultiRoundedRect", "ddddiiiixxxxx"},
    {kOpPolygon, "Polygon", "xxDD"},
    {kOpExactPolygon, "ExactPolygon", "xDD"},
    {kOpShape, "Shape", "?"},
    {kOpGouraudShadedTriangle, "GouraudShadedTriangle", "dddddddddx"},
    {kOpCommitSuperPixels, "CommitSuperPixels", ""},
    {kOpText, "Text", "?"},
    {kOpDefineSymbol, "DefineSymbol", "?"},
    {kOpMergeWithScaling, "MergeWithScaling", "iiiiii"},
    {kOpMergeWithRotation, "MergeWithRotation", "iddd"},
    {kOpMergeBitMap, "MergeBitMap", "iiii"},
    {kOpLoadStream, "LoadStream", "iiii"},
    {kOpTurnedText, "TurnedText", "?"},
};

const OpInfo kDefinitionOps[] = {
    {kOpSetSubDrawMode, "SetSubDrawMode", ""},
    {kOpAdjustBrightness, "AdjustBrightness", "xxd"},
    {kOpTransformedColor, "TransformedColor", "xxdddddd"},
    {kOpBrushedTextureColor, "BrushedTextureColor", "xxi"},
    {kOpDashLineColor, "DashLineColor", "xxi"},
    {kOpLinearGradientColor, "LinearGradientColor", "xddddbX"},
    {kOpRadialGradientColor, "RadialGradientColor", "xiiiibX"},
    {kOpAngleGradientColor, "AngleGradientColor", "xddddddX"},
    {kOpRelativeLinearGradientColor, "RelativeLinearGradientColor", "xddddbX"},
    {kOpLightingColor, "LightingColor", "xxddddbI"},
    {kOpLinearLightingColor, "LinearLightingColor", "xxddddbI"},
    {kOpRadialLightingColor, "RadialLightingColor", "xxiiiiI"},
    {kOpRelativeLinearLightingColor, "RelativeLinearLightingColor", "xxddddbI"},
    {kOpPatternColor, "PatternColor", "xiiiiX"},
    {kOpPatternColor2, "PatternColor2", "xiis"},
    {kOpZoneColor, "ZoneColor", "xbixx"},
    {kOpZColor, "ZColor", "xdddX"},
};

template <std::size_t N>
const OpInfo* lookup(const OpInfo (&table)[N], uint32_t index) {
    return index < N ? &table[index] : nullptr;
}

}  // namespace

const OpInfo* findOp(uint32_t code) {
    return isDrawingOp(code) ? lookup(kDrawingOps, code) : lookup(kDefinitionOps, code - 0x80000000u);
}

const char* pathItemName(uint32_t kind) {
    static const char* const names[] = {"Line", "Arc", "Arc2"};
    return kind <= kPathArc2 ? names[kind] : nullptr;
}

const char* pathItemSignature(uint32_t kind) {
    static const char* const signatures[] = {"ddddxb", "ddiiddddx", "ddiiddddddxb"};
    return kind <= kPathArc2 ? signatures[kind] : nullptr;
}

}  // namespace plotvane
