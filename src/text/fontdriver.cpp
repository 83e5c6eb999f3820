// The process-wide font driver and font lists.
//
// The driver is made when the first text needs a face, reading the search path of that moment, and
// torn down at exit under the text lock. A font list "a.ttf;b.ttf" is a face that asks its members
// in order for each character, opening the later members only when the earlier ones lack one; its
// metrics are those of its first member.

#include "text/fontdriver_p.h"

#include "text/libttfdriver_p.h"
#include "text/textlock_p.h"

#include <cstring>
#include <string>
#include <vector>

namespace plotvane {

namespace {

// Plain pointers with constant initialisation, so they stay readable after the teardown below.
FontDriver* theDriver = nullptr;
bool tornDown = false;

struct DriverTeardown {
    ~DriverTeardown() {
        TextLock lock;
        delete theDriver;
        theDriver = nullptr;
        tornDown = true;
    }
} driverTeardown;

// The custom path the driver searches by; a program that changes it gets the new path from the
// next face on.
std::string* driverPath = nullptr;

FontDriver* driver() {
    if (tornDown) return nullptr;
    if (!driverPath) driverPath = new std::string;
    const std::string& custom = customFontPath();
    if (!theDriver) {
        *driverPath = custom;
        auto* made = new LibTTFFontDriver(buildSearchPath(currentFontPathSources()));
        made->setConfined(confinedFontPath(custom));
        theDriver = made;
    } else if (*driverPath != custom) {
        *driverPath = custom;
        static_cast<LibTTFFontDriver*>(theDriver)->setSearchPath(buildSearchPath(currentFontPathSources()),
                                                                 confinedFontPath(custom));
    }
    return theDriver;
}

class MultiFontFace : public FontFace {
public:
    MultiFontFace(const char* names, int fontIndex, double height, double width, double angle)
        : rest_(names), fontIndex_(fontIndex), height_(height), width_(width), angle_(angle) {}

    ~MultiFontFace() override {
        for (FontFace* f : faces_) f->release();
    }

    // Opens list members until one opens; false when the list is used up.
    bool openNext() {
        while (!exhausted_) {
            size_t semicolon = rest_.find(';');
            std::string name = rest_.substr(0, semicolon);
            if (semicolon == std::string::npos)
                exhausted_ = true;
            else
                rest_.erase(0, semicolon + 1);
            if (name.find_first_not_of(" \t") == std::string::npos) name = "Arial";
            if (FontFace* f = driver() ? driver()->openFace(name.c_str(), fontIndex_, height_, width_, angle_) : nullptr) {
                if (faces_.empty()) {
                    ascender = f->ascender;
                    descender = f->descender;
                    lineHeight = f->lineHeight;
                }
                faces_.push_back(f);
                return true;
            }
        }
        return false;
    }

    FontGlyph* getGlyph(int ch, int mode) override {
        for (FontFace* f : faces_)
            if (FontGlyph* g = f->getGlyph(ch, mode)) return g;
        while (openNext())
            if (FontGlyph* g = faces_.back()->getGlyph(ch, mode)) return g;
        return nullptr;
    }
    bool getOutline(int ch, GlyphOutline& out) override {
        for (FontFace* f : faces_)
            if (f->getOutline(ch, out)) return true;
        return false;
    }
    void addRef() override { ++refs_; }
    void release() override {
        if (--refs_ <= 0) delete this;
    }
    bool isItalic() const override { return faces_[0]->isItalic(); }
    bool isBold() const override { return faces_[0]->isBold(); }
    bool isArtificialItalic() const override { return faces_[0]->isArtificialItalic(); }
    bool isArtificialBold() const override { return faces_[0]->isArtificialBold(); }
    double getSizeInPixels() const override { return faces_[0]->getSizeInPixels(); }
    const char* getFamilyName() const override { return faces_[0]->getFamilyName(); }
    const char* getPSName() const override { return faces_[0]->getPSName(); }
    const char* getPathName() const override { return faces_[0]->getPathName(); }
    int getFontIndex() const override { return faces_[0]->getFontIndex(); }

private:
    std::string rest_;
    bool exhausted_ = false;
    int fontIndex_;
    double height_, width_, angle_;
    std::vector<FontFace*> faces_;
    int refs_ = 0;
};

}  // namespace

FontFace* MainFontDriver::getFace(const char* name, int fontIndex, double height, double width, double angle) {
    TextLock lock;
    if (!driver()) return nullptr;
    if (!name || !std::strchr(name, ';')) return driver()->openFace(name, fontIndex, height, width, angle);
    auto* list = new MultiFontFace(name, fontIndex, height, width, angle);
    list->addRef();
    if (list->openNext()) return list;
    list->release();
    return nullptr;
}

FontFace* MainFontDriver::getFallbackFace(int ch, int style, double height, double width, double angle) {
    TextLock lock;
    return driver() ? driver()->openFallback(ch, style, height, width, angle) : nullptr;
}

bool MainFontDriver::testFont(char* buffer, int length, const char* name, int fontIndex, double height,
                              double width, double angle) {
    TextLock lock;
    if (buffer && length > 0) *buffer = 0;
    if (!driver()) return false;
    char* end = buffer && length > 0 ? buffer + length : buffer;
    return driver()->testFont(buffer, end, name, fontIndex, height, width, angle);
}

bool MainFontDriver::alive() { return !tornDown; }

}  // namespace plotvane
