// Reading the packed effect codes back.
//
// The codes share one integer with plain raised-border depths, so the kinds are told apart by
// their tags, from the most specific down: the lighting models carry a tag in the top nibble
// (bar lighting 0x1, cylinder 0x2, Phong 0x3), glass and soft light are 0x9X3RRR below 2^24,
// a flat border 0x600TTT (or its negation), and whatever is left within ±0xffff is a raised
// (positive) or sunken (negative) bevel depth. Anything else is no effect at all, so a stray
// colour passed as an effect draws a plain box rather than something odd.
//
// The lighting profile models a cylinder seen from the front with its light to one side (30
// degrees off the viewing direction, on the side of position 0): ambient + diffuse * cos of the
// angle to the light + specular * cos^shininess of the angle to the half vector. A dome is lit
// straight on, its top placed towards the light by the caller. A factor above 1 moves towards
// white, which is how the highlight looks like a reflection.
#include "foundation/effectcode_p.h"

#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>

namespace plotvane {

namespace {

constexpr unsigned kBarLightingTag = 0x1u;
constexpr unsigned kCylinderTag = 0x2u;
constexpr unsigned kPhongTag = 0x3u;

double unpackBrightness(unsigned e) {
    if (e <= 100) return e / 100.0;
    unsigned k = std::min(e - 100, 120u);
    return 128.0 / (128 - k);
}

int glassSide(unsigned field) {
    switch (field & 12) {
        case 4: return Chart::Left;
        case 8: return Chart::Bottom;
        case 12: return Chart::Right;
        default: return Chart::Top;
    }
}

int oppositeSide(int side) {
    switch (side) {
        case Chart::Left: return Chart::Right;
        case Chart::Right: return Chart::Left;
        case Chart::Bottom: return Chart::Top;
        default: return Chart::Bottom;
    }
}

void decodeLightTerms(unsigned u, EffectCode& e) {
    e.ambient = ((u >> 18) & 63) / 32.0;
    e.diffuse = ((u >> 12) & 63) / 32.0;
    e.specular = ((u >> 6) & 63) / 32.0;
    e.shininess = static_cast<int>(u & 63);
}

}  // namespace

EffectCode decodeEffect(int code) {
    EffectCode e;
    unsigned u = static_cast<unsigned>(code);
    switch (u >> 28) {
        case kBarLightingTag:
            if ((u & 0x0fff0000u) != 0) return e;
            e.kind = EffectCode::BarLighting;
            e.start = unpackBrightness(u & 0xff);
            e.end = unpackBrightness((u >> 8) & 0xff);
            return e;
        case kCylinderTag:
        case kPhongTag:
            e.kind = (u >> 28) == kCylinderTag ? EffectCode::Cylinder : EffectCode::Phong;
            e.orientation = static_cast<int>((u >> 24) & 15);
            decodeLightTerms(u, e);
            return e;
        default:
            break;
    }
    unsigned magnitude = code < 0 ? 0u - u : u;
    if ((magnitude & 0xfff000u) == 0x600000u && magnitude <= 0xffffffu) {
        e.kind = EffectCode::FlatBorder;
        e.depth = static_cast<int>(magnitude & 0xfff);
        return e;
    }
    if ((u & 0xf0f000u) == 0x903000u && u <= 0xffffffu) {
        unsigned field = (u >> 16) & 15;
        int raised = static_cast<int>(u & 0xfff);
        e.depth = raised > 50 ? raised - 50 : -raised;
        e.glare = static_cast<int>(field & 3);
        e.side = glassSide(field);
        e.kind = EffectCode::Glass;
        if (e.glare == 1) {
            e.kind = EffectCode::SoftLighting;
            e.glare = 0;
            e.side = oppositeSide(e.side);
        }
        return e;
    }
    if (code != 0 && magnitude <= 0xffffu) {
        e.kind = EffectCode::Raised;
        e.depth = code;
    }
    return e;
}

std::vector<int> phongProfile(const EffectCode& e, bool dome) {
    constexpr double kPi = 3.14159265358979323846;
    constexpr int kSteps = 16;
    double light = dome ? 0 : -kPi / 6;
    std::vector<int> table;
    table.reserve(2 * (kSteps + 1));
    for (int k = 0; k <= kSteps; ++k) {
        double at = static_cast<double>(k) / kSteps;
        double normal = dome ? std::asin(at) : (at - 0.5) * kPi;
        double diffuse = std::max(0.0, std::cos(normal - light));
        double highlight = std::pow(std::max(0.0, std::cos(normal - light / 2)), std::max(e.shininess, 1));
        double f = e.ambient + e.diffuse * diffuse + e.specular * highlight;
        table.push_back(k * 256 / kSteps);
        table.push_back(static_cast<int>(std::lround(std::clamp(f, 0.0, 4.0) * 1024)));
    }
    return table;
}

}  // namespace plotvane
