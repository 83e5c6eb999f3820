#include "vector/pdffont_p.h"

#include <plotvane/mutex.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <tuple>

#include "vector/gzip_p.h"
#include "vector/vectornum_p.h"

namespace plotvane {

namespace {

void appendHex4(std::string& s, unsigned v) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) s += kHex[(v >> shift) & 15];
}

class PDFTTFFont : public PDFFont {
public:
    PDFTTFFont(int index, bool bold, bool italic, std::shared_ptr<const PDFTTFFontFile> file)
        : PDFFont(index, bold, italic), file_(std::move(file)) {
        gids_.push_back(0);
        unicode_.push_back(0);
        advances_.push_back(file_->advance(0));
        std::fill(std::begin(latin_), std::end(latin_), -1);
    }

    int encode(int ch, std::string& hex) override {
        bool latin = ch >= 0 && ch < kLatin;
        int cid;
        if (latin && latin_[ch] >= 0) {
            cid = latin_[ch];
        } else if (auto it = cids_.find(ch); !latin && it != cids_.end()) {
            cid = it->second;
        } else {
            int gid = file_->readCmap(ch);
            cid = 0;
            if (gid != 0) {
                cid = static_cast<int>(gids_.size());
                gids_.push_back(gid);
                unicode_.push_back(ch);
                advances_.push_back(file_->advance(gid));
            }
            (latin ? latin_[ch] : cids_[ch]) = cid;
        }
        appendHex4(hex, static_cast<unsigned>(cid));
        return advances_[static_cast<size_t>(cid)];
    }

    void outFont(PDFDocument& doc) override;

private:
    // Most text is Latin: its codes are looked up in a table, the rest in a map.
    static constexpr int kLatin = 256;
    std::shared_ptr<const PDFTTFFontFile> file_;
    int latin_[kLatin];
    std::unordered_map<int, int> cids_;
    std::vector<int> gids_;     // original glyph of each code
    std::vector<int> unicode_;  // character of each code
    std::vector<int> advances_;  // of each code
};

// What a font's objects hold besides object numbers. It is the same in every document that shows
// the same characters with the same glyphs, so a run of similar charts builds and compresses it
// once.
struct FontParts {
    std::shared_ptr<const PDFTTFFontFile> file;  // keeps the file of the cache key alive
    std::shared_ptr<const PDFTTFFontFile::Subset> subset;
    std::string widths;     // the W array's entries
    std::string toUnicode;  // the ToUnicode CMap, compressed when `compressed`
    bool compressed = false;
};

std::shared_ptr<const FontParts> buildParts(const std::shared_ptr<const PDFTTFFontFile>& file,
                                            const std::vector<int>& gids, const std::vector<int>& unicode) {
    auto parts = std::make_shared<FontParts>();
    parts->file = file;
    parts->subset = file->subset(std::vector<int>(gids.begin() + 1, gids.end()));
    // Codes are new glyph numbers; glyphs pulled in by composites have no code and need no width.
    for (size_t code = 0; code < gids.size(); ++code) {
        appendInt(parts->widths, static_cast<long long>(code));
        parts->widths += '[';
        appendInt(parts->widths, file->advance(gids[code]));
        parts->widths += ']';
    }
    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo\n<< /Registry (Adobe)\n"
        "/Ordering (UCS)\n/Supplement 0\n>> def\n/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most 100 entries per block.
    for (size_t start = 1; start < gids.size(); start += 100) {
        size_t end = std::min(gids.size(), start + 100);
        appendInt(cmap, static_cast<long long>(end - start));
        cmap += " beginbfchar\n";
        for (size_t code = start; code < end; ++code) {
            cmap += '<';
            appendHex4(cmap, static_cast<unsigned>(code));
            cmap += "> <";
            unsigned ch = static_cast<unsigned>(unicode[code]);
            if (ch >= 0x10000) {
                appendHex4(cmap, 0xd800 + ((ch - 0x10000) >> 10));
                appendHex4(cmap, 0xdc00 + ((ch - 0x10000) & 0x3ff));
            } else {
                appendHex4(cmap, ch);
            }
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
    parts->compressed = zlibCompress(cmap.data(), cmap.size(), parts->toUnicode);
    if (!parts->compressed) parts->toUnicode = std::move(cmap);
    return parts;
}

std::shared_ptr<const FontParts> partsOf(const std::shared_ptr<const PDFTTFFontFile>& file, const std::vector<int>& gids,
                                         const std::vector<int>& unicode) {
    constexpr size_t kMaxParts = 256;
    using Key = std::tuple<const PDFTTFFontFile*, std::vector<int>, std::vector<int>>;
    static vek::Mutex lock;
    static std::map<Key, std::shared_ptr<const FontParts>> cache;
    Key key(file.get(), gids, unicode);
    {
        vek::MutexLock hold(lock);
        auto it = cache.find(key);
        if (it != cache.end()) return it->second;
    }
    std::shared_ptr<const FontParts> made = buildParts(file, gids, unicode);
    vek::MutexLock hold(lock);
    if (cache.size() >= kMaxParts) cache.clear();
    return cache.emplace(std::move(key), made).first->second;
}

void PDFTTFFont::outFont(PDFDocument& doc) {
    std::shared_ptr<const FontParts> parts = partsOf(file_, gids_, unicode_);
    const PDFTTFFontFile::Subset& sub = *parts->subset;
    std::string length1 = "/Length1 ";
    appendInt(length1, static_cast<long long>(sub.length));
    int fontFile = doc.reserve();
    doc.setRawStream(fontFile, length1, sub.data, sub.compressed);

    std::string name = file_->getName();
    if (name.empty()) name = "Unknown-Font";
    if (isArtificialBold() && isArtificialItalic()) name += ",BoldItalic";
    else if (isArtificialBold()) name += ",Bold";
    else if (isArtificialItalic()) name += ",Italic";
    std::string baseName = "/" + sub.tag + "+" + name;

    std::string desc = "/Type/FontDescriptor/FontName" + baseName;
    int flags = 32 | (file_->fixedPitch ? 1 : 0) | (file_->italicAngle != 0 || isArtificialItalic() ? 64 : 0);
    desc += "/Flags ";
    appendInt(desc, flags);
    desc += "/FontBBox[";
    for (int i = 0; i < 4; ++i) {
        if (i) desc += ' ';
        appendInt(desc, file_->bbox[i]);
    }
    desc += "]/Ascent ";
    appendInt(desc, file_->ascent);
    desc += "/Descent ";
    appendInt(desc, file_->descent);
    desc += "/CapHeight ";
    appendInt(desc, file_->capHeight);
    desc += "/ItalicAngle ";
    appendNumber(desc, file_->italicAngle, 2);
    desc += "/StemV 0/FontFile2 ";
    appendInt(desc, fontFile);
    desc += " 0 R";
    int descriptor = doc.addObject(std::move(desc));

    std::string cid = "/Type/Font/Subtype/CIDFontType2/BaseFont" + baseName +
                      "/CIDSystemInfo<</Registry (Adobe)/Ordering (Identity)/Supplement 0>>/FontDescriptor ";
    appendInt(cid, descriptor);
    cid += " 0 R/CIDToGIDMap/Identity/W[";
    cid += parts->widths;
    cid += ']';
    int descendant = doc.addObject(std::move(cid));

    int toUnicode = doc.reserve();
    doc.setRawStream(toUnicode, "", parts->toUnicode, parts->compressed);

    std::string font = "/Type/Font/Subtype/Type0/BaseFont" + baseName + "/Encoding/Identity-H/DescendantFonts[";
    appendInt(font, descendant);
    font += " 0 R]/ToUnicode ";
    appendInt(font, toUnicode);
    font += " 0 R";
    doc.setObject(getIndex(), std::move(font));
}

class PDFUnknownFont : public PDFFont {
public:
    PDFUnknownFont(int index, bool bold, bool italic, std::string baseFont)
        : PDFFont(index, bold, italic), baseFont_(std::move(baseFont)) {}

    int encode(int ch, std::string& hex) override {
        static const char kHex[] = "0123456789ABCDEF";
        // WinAnsi agrees with Latin-1 outside 0x80-0x9F.
        unsigned code = (ch >= 0x20 && ch < 0x7f) || (ch >= 0xa0 && ch <= 0xff) ? static_cast<unsigned>(ch) : '?';
        hex += kHex[code >> 4];
        hex += kHex[code & 15];
        return -1;
    }
    void outFont(PDFDocument& doc) override {
        doc.setObject(getIndex(), "/Type/Font/Subtype/Type1/BaseFont/" + baseFont_ + "/Encoding/WinAnsiEncoding");
    }
    bool isStandIn() const override { return true; }

private:
    std::string baseFont_;
};

bool contains(const std::string& lower, const char* word) { return lower.find(word) != std::string::npos; }

}  // namespace

std::string mapFontName(const char* name, bool bold, bool italic) {
    std::string lower;
    for (const char* p = name ? name : ""; *p; ++p) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    if (contains(lower, "symbol")) return "Symbol";
    if (contains(lower, "zapf")) return "ZapfDingbats";
    std::string family = "Helvetica";
    const char* slant = "Oblique";
    if (contains(lower, "times")) family = "Times", slant = "Italic";
    else if (contains(lower, "courier")) family = "Courier";
    std::string style = std::string(bold ? "Bold" : "") + (italic ? slant : "");
    if (family == "Times" && style.empty()) style = "Roman";
    return style.empty() ? family : family + "-" + style;
}

PDFFont* PDFFontTable::getPDFFont(PDFDocument& doc, FontFace* face) {
    auto known = byFace_.find(face);
    if (known != byFace_.end()) return known->second;
    bool artBold = face->isArtificialBold(), artItalic = face->isArtificialItalic();
    const char* path = face->getPathName();
    std::shared_ptr<const PDFTTFFontFile> file =
        path && *path ? PDFTTFFontFile::create(path, face->getFontIndex()) : nullptr;
    std::string key;
    if (file) {
        key = std::string("T") + path + '#';
        appendInt(key, face->getFontIndex());
        key += artBold ? 'B' : '-';
        key += artItalic ? 'I' : '-';
    } else {
        const char* ps = face->getPSName();
        key = "S" + mapFontName(ps && *ps ? ps : face->getFamilyName(), face->isBold(), face->isItalic());
    }
    std::unique_ptr<PDFFont>& font = byKey_[key];
    if (!font) {
        int index = doc.reserve();
        if (file)
            font = std::make_unique<PDFTTFFont>(index, artBold, artItalic, file);
        else
            font = std::make_unique<PDFUnknownFont>(index, false, false, key.substr(1));
        doc.addResource(PDFDocument::Font, index);
        order_.push_back(font.get());
    }
    byFace_[face] = font.get();
    return font.get();
}

void PDFFontTable::outFonts(PDFDocument& doc) {
    for (PDFFont* font : order_) font->outFont(doc);
}

}  // namespace plotvane
