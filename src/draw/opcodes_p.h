#ifndef PLOTVANE_DRAW_OPCODES_P_H
#define PLOTVANE_DRAW_OPCODES_P_H

// The record kinds of a recording, with the names the text dump writes and the argument
// signatures (letters of graphicsstream_p.h; "?" marks a body read by hand).

#include <cstdint>

namespace plotvane {

enum OpCode : uint32_t {
    kOpSetSize = 0,
    kOpResize = 1,
    kOpAffineTransform = 2,
    kOpSetClipRect = 3,
    kOpSetBgColor = 4,
    kOpSetBgRoundedClip = 5,
    kOpSetBgDropShadow = 6,
    kOpLine = 7,
    kOpPolyLine = 8,
    kOpMultiLine = 9,
    kOpRoundedRect = 10,
    kOpMultiRoundedRect = 11,
    kOpPolygon = 12,
    kOpExactPolygon = 13,
    kOpShape = 14,
    kOpGouraudShadedTriangle = 15,
    kOpCommitSuperPixels = 16,
    kOpText = 17,
    kOpDefineSymbol = 18,
    kOpMergeWithScaling = 19,
    kOpMergeWithRotation = 20,
    kOpMergeBitMap = 21,
    kOpLoadStream = 22,
    // Text as "Text", turned by a quarter, half or three-quarter turn about its origin.
    kOpTurnedText = 23,
    // Definition records: they never end a pending polyline.
    kOpSetSubDrawMode = 0x80000000u,
    kOpAdjustBrightness = 0x80000001u,
    kOpTransformedColor = 0x80000002u,
    kOpBrushedTextureColor = 0x80000003u,
    kOpDashLineColor = 0x80000004u,
    kOpLinearGradientColor = 0x80000005u,
    kOpRadialGradientColor = 0x80000006u,
    kOpAngleGradientColor = 0x80000007u,
    kOpRelativeLinearGradientColor = 0x80000008u,
    kOpLightingColor = 0x80000009u,
    kOpLinearLightingColor = 0x8000000Au,
    kOpRadialLightingColor = 0x8000000Bu,
    kOpRelativeLinearLightingColor = 0x8000000Cu,
    kOpPatternColor = 0x8000000Du,
    kOpPatternColor2 = 0x8000000Eu,
    kOpZoneColor = 0x8000000Fu,
    kOpZColor = 0x80000010u,
};

inline bool isDrawingOp(uint32_t op) { return op < 0x80000000u; }

// Items of a "Shape" record and of a "MultiLine" record.
enum PathKind : uint32_t { kPathLine = 0, kPathArc = 1, kPathArc2 = 2 };
enum MultiLineItem : uint32_t { kLineStyle = 0, kLinePoint = 1 };

struct OpInfo {
    uint32_t code;
    const char* name;
    const char* signature;
};

// Null for an unknown opcode.
const OpInfo* findOp(uint32_t code);
const char* pathItemName(uint32_t kind);
const char* pathItemSignature(uint32_t kind);

}  // namespace plotvane

#endif
