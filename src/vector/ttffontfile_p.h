#ifndef PLOTVANE_VECTOR_TTFFONTFILE_P_H
#define PLOTVANE_VECTOR_TTFFONTFILE_P_H

// TrueType files for PDF embedding: the tables a PDF font needs (metrics, the character map, the
// glyph outlines) and subset files holding only the glyphs a document uses. Files are read once per
// process and shared; subsets are kept per file under their glyph list, so a run of similar charts
// pays for subsetting and compressing a font once. Both caches sit behind one lock.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace plotvane {

class PDFTTFFontFile {
public:
    // The subset of a glyph list: new glyph i is original glyph gids[i] (gids[0] is glyph 0;
    // glyphs that composites refer to are appended).
    struct Subset {
        std::vector<int> gids;
        std::string data;         // the font file, zlib-compressed when `compressed`
        bool compressed = false;
        size_t length = 0;        // uncompressed size
        std::string tag;          // six capital letters naming the subset
    };

    // The face `index` of a TrueType file or collection; null when the file is missing or not
    // TrueType with outlines.
    static std::shared_ptr<const PDFTTFFontFile> create(const std::string& path, int index);

    // The glyph of a character (0 when none).
    int readCmap(int ch) const;
    bool getGlyphLoc(int gid, uint32_t& offset, uint32_t& length) const;
    // The PostScript name from the name table ("" when none).
    const std::string& getName() const { return name_; }
    int glyphCount() const { return numGlyphs_; }
    // Advance width in thousandths of the em.
    int advance(int gid) const;

    // Descriptor values in thousandths of the em.
    int bbox[4] = {0, 0, 0, 0};
    int ascent = 0, descent = 0, capHeight = 0;
    double italicAngle = 0;
    bool fixedPitch = false;

    std::shared_ptr<const Subset> subset(const std::vector<int>& gids) const;

private:
    PDFTTFFontFile() = default;
    bool parse(int index);
    struct Table {
        uint32_t offset = 0, length = 0;
    };
    const Table* table(const char* tag) const;
    int rawAdvance(int gid) const;
    int rawLsb(int gid) const;
    std::shared_ptr<Subset> buildSubset(const std::vector<int>& gids) const;

    std::string data_;
    std::map<std::string, Table> tables_;
    std::string name_;
    int unitsPerEm_ = 1000;
    int numGlyphs_ = 0;
    int numHMetrics_ = 0;
    bool longLoca_ = false;
    std::vector<uint16_t> bmp_;               // character map of the first 65536 code points
    std::unordered_map<int, int> supplementary_;
    mutable std::map<std::vector<int>, std::shared_ptr<const Subset>> subsets_;  // under the cache lock
};

}  // namespace plotvane

#endif
