#ifndef PLOTVANE_TEXT_LIBTTFDRIVER_P_H
#define PLOTVANE_TEXT_LIBTTFDRIVER_P_H

#include "draw/glyph_p.h"
#include "text/fontconfiglookup_p.h"
#include "text/fontdriver_p.h"
#include "text/fontpath_p.h"
#include "text/glyphbitmap_p.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace plotvane {

class LibTTFFontDriver;
class LibTTFFontFace;
class LibTTFSizedFontFace;

// Pixel sizes of a file entry that has none set yet.
constexpr int kUnsetPixelSize = static_cast<int>(0x80000001u);

class LibTTFFontGlyph : public FontGlyph {
public:
    LibTTFFontGlyph(LibTTFSizedFontFace* face, int mode, GlyphBitmap&& b, double advance, double lineHeight,
                    double now);
    void addRef() override { ++refs_; }
    void release() override { --refs_; }

    LibTTFSizedFontFace* face() const { return face_; }
    int mode() const { return mode_; }  // effective render mode
    int refs() const { return refs_; }
    double stamp = 0;

private:
    LibTTFSizedFontFace* face_;
    int mode_;
    int refs_ = 0;
    std::vector<unsigned char> pixels_;
};

// One font file at one size and style; owns the glyphs rendered from it.
class LibTTFSizedFontFace : public FontFace {
public:
    LibTTFSizedFontFace(LibTTFFontFace* parent, double height, double width, int style);

    FontGlyph* getGlyph(int ch, int mode) override;
    bool getOutline(int ch, GlyphOutline& out) override;
    void addRef() override { ++refs_; }
    void release() override { --refs_; }
    bool isItalic() const override;
    bool isBold() const override;
    bool isArtificialItalic() const override { return (style_ & 4) != 0; }
    bool isArtificialBold() const override { return (style_ & 2) != 0; }
    double getSizeInPixels() const override;
    const char* getFamilyName() const override { return family_.c_str(); }
    const char* getPSName() const override { return psName_.c_str(); }
    const char* getPathName() const override;
    int getFontIndex() const override;

    // The render mode a requested mode (0-5) comes to at this size.
    int effectiveMode(int mode) const;
    int style() const { return style_; }
    int refs() const { return refs_; }
    size_t glyphCount() const { return glyphs_.size(); }
    // Drops unreferenced glyphs idle for a minute.
    void evictGlyphs(double now);
    double stamp = 0;

private:
    LibTTFFontFace* parent_;
    double height_, width_;
    int style_;
    int pixelWidth_ = 0, pixelHeight_ = 0;
    bool antiAlias_ = false;
    int refs_ = 0;
    std::string family_, psName_;
    std::unordered_map<uint64_t, std::unique_ptr<LibTTFFontGlyph>> glyphs_;
    // Characters the font lacks. Text in another script asks for them again and again before
    // falling back, and each miss would otherwise set this size on the shared FreeType face,
    // which reruns the font's hinting set-up.
    std::unordered_set<int> missing_;
    static constexpr size_t kMaxMissing = 4096;
    // The glyphs last asked for, found or missing, each in the slot its key hashes to: a label
    // asks for a dozen, and most of them again and again, while the map's buckets and nodes lie
    // scattered. Cleared when glyphs are evicted.
    struct Recent {
        uint64_t key = ~uint64_t{0};
        LibTTFFontGlyph* glyph = nullptr;
    };
    static constexpr int kRecentBits = 8;
    std::array<Recent, 1 << kRecentBits> recent_;
};

// One opened font file and face index. The FreeType face is closed when no size of it is left and
// reopened from the remembered path on the next use. An entry without a path remembers a failed
// search.
class LibTTFFontFace {
public:
    LibTTFFontFace(LibTTFFontDriver* driver, std::string path, int index, FT_Face face, double now);
    ~LibTTFFontFace();
    LibTTFFontFace(const LibTTFFontFace&) = delete;
    LibTTFFontFace& operator=(const LibTTFFontFace&) = delete;

    LibTTFFontDriver* driver() const { return driver_; }
    const std::string& path() const { return path_; }
    int index() const { return index_; }
    bool isType1() const { return type1_; }
    FT_Face ftFace() const { return face_; }
    bool isOpen() const { return face_ != nullptr; }
    bool reopen();
    void close();

    // Sets the FreeType face to these pixel sizes unless it has them (the nearest strike for a
    // bitmap-only font).
    bool usePixelSizes(int width, int height);
    // The referenced face for these sizes and style flags.
    LibTTFSizedFontFace* sizedFace(double height, double width, int style, double now);
    void flush(double now);
    bool hasSizes() const { return !sizes_.empty(); }
    double stamp = 0;
    bool thorough = false;  // a failed search that asked the folder indexes too

private:
    LibTTFFontDriver* driver_;
    std::string path_;
    int index_;
    FT_Face face_;
    bool type1_;
    int pixelWidth_ = kUnsetPixelSize, pixelHeight_ = kUnsetPixelSize;
    std::map<uint64_t, std::unique_ptr<LibTTFSizedFontFace>> sizes_;
};

// The FreeType font driver: the search path, the open files and their caches.
class LibTTFFontDriver : public FontDriver {
public:
    explicit LibTTFFontDriver(std::vector<FontSearchEntry> searchPath);
    ~LibTTFFontDriver() override;
    LibTTFFontDriver(const LibTTFFontDriver&) = delete;
    LibTTFFontDriver& operator=(const LibTTFFontDriver&) = delete;

    FontFace* openFace(const char* name, int fontIndex, double height, double width, double angle) override;
    FontFace* openFallback(int ch, int style, double height, double width, double angle) override;
    bool testFont(char* begin, char* end, const char* name, int fontIndex, double height, double width,
                  double angle) override;

    // The file entry for (name, index), searching the path once; a failed search is remembered
    // for 10 seconds. A search that is not thorough tries the names as they stand and leaves the
    // folder indexes alone.
    LibTTFFontFace* cachedOpenFace(const std::string& name, int index, double now, bool thorough = true);
    // Evicts what has been idle for a minute; runs at most every 10 seconds.
    void flushCache(double now);

    // A new search path: what was found or missed along the old one is looked for again. Files
    // in use stay open for the faces that hold them.
    void setSearchPath(std::vector<FontSearchEntry> searchPath, bool confined);
    // Confined to its search path: the system's font configuration is not asked.
    void setConfined(bool confined) { confined_ = confined; }

    FT_Library library() const { return library_; }
    const FontConfigLookup& fontConfig() const { return fontConfig_; }
    double now() const { return clock_(); }
    // Lets tests move time.
    void setClock(double (*clock)()) { clock_ = clock; }

private:
    struct Report;
    struct Located {
        LibTTFFontFace* file = nullptr;
        int flags = 0;
        bool substitute = false;  // a stand-in for a font that was not found
    };
    // What a specification resolved to, reused while every failed search it went through is
    // still remembered; a hit must still find its file open or reopen it.
    struct Resolution {
        Located found;
        double oldestFailure;
    };
    Located resolve(const char* name, int fontIndex, double now);
    // Both caches of search results, when a file entry they may point at goes away.
    void forgetResolutions();
    FontFace* openLocated(const Located& found, double height, double width, double now);
    Located locate(const char* name, int fontIndex, double now);
    void reportSubstitute(const char* name, const Located& found);
    Located locateSpec(const std::string& name, int fontIndex, double now);
    Located systemFallback(const std::string& family, int style, int flags, bool standard, double now);
    LibTTFFontFace* tryFile(const std::string& name, int index, double now);
    bool openFile(const std::string& name, int index, bool thorough, FT_Face* face, std::string* path);
    bool openPath(const std::string& path, int index, FT_Face* face);

    FT_Library library_ = nullptr;
    std::vector<FontSearchEntry> searchPath_;
    std::map<std::pair<std::string, int>, std::unique_ptr<LibTTFFontFace>> faces_;
    FontConfigLookup fontConfig_;
    double (*clock_)();
    double lastFlush_ = 0;
    Report* report_ = nullptr;                             // set while testFont runs
    bool thorough_ = false;                                // the second pass of a search
    double oldestFailure_ = 0;                             // of the failures the search met
    std::map<std::pair<std::string, int>, Resolution> resolved_;
    // The file each (character, style) fell back to, or none: text in another script asks for one
    // in every label, and the font configuration's answer still had to be searched for by its path.
    std::unordered_map<uint64_t, Located> fallbacks_;
    std::vector<std::unique_ptr<LibTTFFontFace>> scratch_;  // files testFont opened
    std::vector<std::unique_ptr<LibTTFFontFace>> retired_;  // found along an earlier search path
    bool confined_ = false;
};

}  // namespace plotvane

#endif
