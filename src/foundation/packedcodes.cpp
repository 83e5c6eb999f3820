// Builders of the integers that carry an effect, a metal colour or a symbol shape with its
// parameters. Drawing code unpacks them; the bit layouts here are the contract.
#include <plotvane/chart.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace plotvane {
namespace Chart {

namespace {

int clampInt(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

double clampUnit(double x) {
    if (!(x > 0)) return 0;
    return x > 1 ? 1 : x;
}

int quantize(double x, int steps) { return static_cast<int>(std::floor(steps * clampUnit(x) + 0.5)); }

// Brightness as one byte: 0-100 for darkening factors, 101-228 for brightening ones.
int encodeBrightness(double x) {
    if (!(x > 1)) return static_cast<int>(std::floor(100 * std::max(x, 0.0) + 0.5));
    return static_cast<int>(std::floor(128 - 128 / x + 0.5)) + 100;
}

int metalNibble(uint32_t channel) { return static_cast<int>((channel + 8) / 17); }

}  // namespace

int RGB(int r, int g, int b, int a) {
    return static_cast<int>((static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r & 0xff) << 16) |
                            (static_cast<uint32_t>(g & 0xff) << 8) | static_cast<uint32_t>(b & 0xff));
}

int glassEffect(int glareSize, int glareDirection, int raisedEffect) {
    int size = clampInt(glareSize, 0, 3);
    int direction = glareDirection == Left ? 4 : glareDirection == Bottom ? 8 : glareDirection == Right ? 12 : 0;
    long long r = raisedEffect;  // so that INT_MIN and INT_MAX can be negated and offset
    int raised = static_cast<int>(r < 1 ? std::clamp(-r, 0LL, 50LL) : std::clamp(r + 50, 51LL, 4095LL));
    return 0x903000 | ((direction + size) << 16) | raised;
}

int softLighting(int direction, int raisedEffect) {
    int turned = direction == Left ? Right : direction == Bottom ? Top : direction == Right ? Left : Bottom;
    return glassEffect(1, turned, raisedEffect);
}

int flatBorder(int thickness) {
    long long magnitude = std::llabs(static_cast<long long>(thickness));
    if (magnitude < 1) return 0;
    int code = 0x600000 | static_cast<int>(std::min(magnitude, 4095LL));
    return thickness < 0 ? -code : code;
}

int barLighting(double startBrightness, double endBrightness) {
    return 0x10000000 | (encodeBrightness(endBrightness) << 8) | encodeBrightness(startBrightness);
}

namespace {
// Three light terms in 32nds (6 bits each) and the shininess (6 bits), under a 4-bit tag and a
// 4-bit orientation, so the code never meets the bevel, glass, border or bar-lighting ranges.
int lightingCode(unsigned tag, int orientation, double ambient, double diffuse, double specular, int shininess) {
    auto term = [](double x) { return static_cast<unsigned>(quantize(x * 32 / 63, 63)); };
    unsigned code = (tag << 28) | (static_cast<unsigned>(clampInt(orientation, 0, 15)) << 24) |
                    (term(ambient) << 18) | (term(diffuse) << 12) | (term(specular) << 6) |
                    static_cast<unsigned>(clampInt(shininess, 0, 63));
    return static_cast<int>(code);
}
}  // namespace

int cylinderEffect(int orientation, double ambientIntensity, double diffuseIntensity, double specularIntensity,
                   int shininess) {
    return lightingCode(2, orientation, ambientIntensity, diffuseIntensity, specularIntensity, shininess);
}

int phongLighting(double ambientIntensity, double diffuseIntensity, double specularIntensity, int shininess) {
    return lightingCode(3, 0, ambientIntensity, diffuseIntensity, specularIntensity, shininess);
}

int metalColor(int c, int angle) {
    int reduced = angle % 180;
    if (reduced < 0) reduced += 180;
    uint32_t direction = static_cast<uint32_t>((reduced + 22) / 45);
    uint32_t color = static_cast<uint32_t>(c);
    uint32_t body;
    if (color == 0xffffffffu) return Transparent;
    if ((color & 0xffff0000u) == 0xffff0000u && (color & 0xffffu) < 0x8000u) {
        body = 0xf800u | (color & 0x7ffu);
    } else if ((color & 0xffff0000u) == 0xfffe0000u) {
        body = 0xf000u | (color & 0x7ffu);
    } else {
        if ((color & 0xffff0000u) == 0xffff0000u) color &= 0xffffu;  // 0xffff8000-0xfffffffe: literal low bits
        int t = metalNibble(color >> 24);
        if (t == 15) return Transparent;
        body = (static_cast<uint32_t>(t) << 12) | (static_cast<uint32_t>(metalNibble((color >> 16) & 0xff)) << 8) |
               (static_cast<uint32_t>(metalNibble((color >> 8) & 0xff)) << 4) |
               static_cast<uint32_t>(metalNibble(color & 0xff));
    }
    return static_cast<int>(0xff800000u | (direction << 16) | body);
}

int goldColor(int angle) { return metalColor(0xffee44, angle); }
int silverColor(int angle) { return metalColor(0xdddddd, angle); }

int brushedMetalColor(int c, int texture, int angle) {
    int code = metalColor(c, angle);
    if (code == Transparent) return code;
    return static_cast<int>(static_cast<uint32_t>(code) | (static_cast<uint32_t>(texture & 3) << 18));
}

int brushedGoldColor(int texture, int angle) { return brushedMetalColor(0xffee44, texture, angle); }
int brushedSilverColor(int texture, int angle) { return brushedMetalColor(0xdddddd, texture, angle); }

namespace {
int crossCode(double width, int kind) {
    if (width < 0) return kind;
    return (static_cast<int>(std::floor(clampUnit(width) * 4095 + 0.5)) << 12) | kind;
}
int sidedCode(int sides, int kind) {
    if (sides < 0) return kind;
    return (std::min(sides, 100) << 12) | kind;
}
}  // namespace

int CrossShape(double width) { return crossCode(width, CrossSymbol); }
int Cross2Shape(double width) { return crossCode(width, Cross2Symbol); }
int PolygonShape(int side) { return sidedCode(side, Plotvane_PolygonSymbol); }
int Polygon2Shape(int side) { return sidedCode(side, Plotvane_Polygon2Symbol); }
int StarShape(int side) { return sidedCode(side, Plotvane_StarSymbol); }

int ArrowShape(double angle, double widthRatio, double stemWidthRatio, double stemLengthRatio) {
    double turn = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0;
    if (turn < 0) turn += 360;
    uint32_t code = static_cast<uint32_t>(Plotvane_ArrowSymbol) |
                    (static_cast<uint32_t>(quantize(turn / 360, 60)) << 26) |
                    (static_cast<uint32_t>(quantize(widthRatio, 50)) << 20) |
                    (static_cast<uint32_t>(quantize(stemWidthRatio, 50)) << 14) |
                    (static_cast<uint32_t>(quantize(stemLengthRatio, 50)) << 8);
    return static_cast<int>(code);
}

int arrowShape(double angle, double widthRatio, double stemWidthRatio, double stemLengthRatio) {
    return ArrowShape(angle, widthRatio, stemWidthRatio, stemLengthRatio);
}

namespace {
int clearTypeGamma(double gamma) {
    if (!(gamma > 0)) return 0;
    return std::min(static_cast<int>(std::lround(std::min(gamma * 100, 1e6))), 1023) << 6;
}
}  // namespace

int ClearTypeMono(double gamma) { return clearTypeGamma(gamma) | 4; }
int ClearTypeColor(double gamma) { return clearTypeGamma(gamma) | 5; }

}  // namespace Chart
}  // namespace plotvane
