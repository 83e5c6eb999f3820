// Placeholder until the raster back-end lands: a pixel buffer that knows its size and background
// and can set single pixels; every other command is ignored.
#include <algorithm>
#include <vector>

#include "draw/drawbmp_p.h"

namespace plotvane {

namespace {

class PendingCanvas final : public DrawBMP {
public:
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    uint32_t* getPixels() override { return pixels_.data(); }
    void pixel(int x, int y, int color) override {
        if (x >= 0 && y >= 0 && x < width_ && y < height_ && static_cast<uint32_t>(color) < 0xff000000u)
            pixels_[static_cast<size_t>(y) * width_ + x] = static_cast<uint32_t>(color);
    }
    int getPixel(int x, int y) const override {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return static_cast<int>(0xff000000);
        return static_cast<int>(pixels_[static_cast<size_t>(y) * width_ + x]);
    }
    int getARGBColor(int color, int, int) override { return color; }
    void fill(int, int, int) override {}
    void fill(int, int, int, int) override {}
    void reduceColors(int, bool) override {}
    void rAffineTransform(double, double, double, double, double, double, int, int, double) override {}
    void sphereTransform(int, int, int, int, double) override {}
    void hCylinderTransform(int, int, int, double) override {}
    void vCylinderTransform(int, int, int, double) override {}
    void vTriangleTransform(int, int, int, double) override {}
    void hTriangleTransform(int, int, int, double) override {}
    void shearTransform(double, double, int, int, double) override {}
    void waveTransform(int, double, double, double, bool, int, int, double) override {}
    void initDynamicLayer() override {}
    void clearDynamicLayer(bool) override {}

    void setSubDrawMode() override {}
    void setSize(int width, int height, int bgColor) override {
        width_ = std::max(1, width);
        height_ = std::max(1, height);
        pixels_.assign(static_cast<size_t>(width_) * height_, 0xff000000u);
        setBgColor(bgColor);
    }
    void resize(int width, int height) override { setSize(width, height, static_cast<int>(0xff000000)); }
    void affineTransform(double, double, double, double, double, double, int, int, double) override {}
    void setClipRect(int, int, int, int) override {}
    void setBgColor(int color) override {
        uint32_t c = static_cast<uint32_t>(color);
        if (c >= 0xff000000u) c = 0xff000000u;
        std::fill(pixels_.begin(), pixels_.end(), c);
    }
    void clipRoundedCorners(int, int, int, int, int) override {}
    void addDropShadow(int, int, int, int, int) override {}
    void line(double, double, double, double, int, int) override {}
    void initLineTo() override {}
    void initLineTo(double, double) override {}
    void lineTo(double, double, int, int) override {}
    void roundedRect(double, double, double, double, int, int, int) override {}
    void multiRoundedRect(double, double, double, double, const int[4], const int[5]) override {}
    void polygon(const double*, const double*, int, int, int) override {}
    void exactPolygon(const double*, const double*, int, int) override {}
    void shape(int, bool, bool, const std::vector<PathItem>&) override {}
    void gouraudShadedTriangle(const double[9], int) override {}
    void commitSuperPixels() override {}
    void text(const GlyphContainer&, int, int, int, int, int) override {}
    DrawBackend* createSymbol(int) override { return nullptr; }
    void removeSymbol(int) override {}
    void mergeSymbol(int, int, int, int, int, int) override {}
    void mergeSymbolRotated(int, double, double, double) override {}
    void mergeBitMap(const int*, int, int, int, int) override {}
    void loadStream(const unsigned char*, int, int, int, int) override {}
    void adjustBrightness(int, int, double) override {}
    void transformedColor(int, int, const double[6]) override {}
    void brushedTextureColor(int, int, int) override {}
    void dashLineColor(int, int, int) override {}
    void linearGradientColor(int, double, double, double, double, bool, const std::vector<int>&) override {}
    void radialGradientColor(int, int, int, int, int, bool, const std::vector<int>&) override {}
    void angleGradientColor(int, const double[6], const std::vector<int>&) override {}
    void relativeLinearGradientColor(int, double, double, double, double, bool, const std::vector<int>&) override {}
    void lightingColor(int, int, const double[4], bool, const std::vector<int>&) override {}
    void linearLightingColor(int, int, const double[4], bool, const std::vector<int>&) override {}
    void radialLightingColor(int, int, int, int, int, int, const std::vector<int>&) override {}
    void relativeLinearLightingColor(int, int, const double[4], bool, const std::vector<int>&) override {}
    void patternColor(int, int, int, int, int, const std::vector<int>&) override {}
    void patternColor2(int, int, int, const char*) override {}
    void zoneColor(int, bool, int, int, int) override {}
    void comment(const char*) override {}

private:
    int width_ = 1;
    int height_ = 1;
    std::vector<uint32_t> pixels_ = std::vector<uint32_t>(1, 0xff000000u);
};

}  // namespace

DrawBMP* DrawBMP::create(DrawBMP*) { return new PendingCanvas(); }

}  // namespace plotvane
