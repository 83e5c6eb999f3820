#include "vector/pdffont_p.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

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
    }

    int encode(int ch, std::string& hex) override {
        auto it = cids_.find(ch);
        int cid;
        if (it != cids_.end()) {
            cid = it->second;
        } else {
            int gid = file_->readCmap(ch);
            cid = 0;
            if (gid != 0) {
                cid = static_cast<int>(gids_.size());
                gids_.push_back(gid);
                unicode_.push_back(ch);
            }
            cids_[ch] = cid;
        }
        appendHex4(hex, static_cast<unsigned>(cid));
        return file_->advance(gids_[static_cast<size_t>(cid)]);
    }

    void outFont(PDFDocument& doc) override;

private:
    std::shared_ptr<const PDFTTFFontFile> file_;
    std::unordered_map<int, int> cids_;
    std::vector<int> gids_;     // original glyph of each code
    std::vector<int> unicode_;  // character of each code
};

void PDFTTFFont::outFont(PDFDocument& doc) {
    std::shared_ptr<const PDFTTFFontFile::Subset> sub = file_->subset(std::vector<int>(gids_.begin() + 1, gids_.end()));
    std::string length1 = "/Length1 ";
    appendInt(length1, static_cast<long long>(sub->length));
    int fontFile = doc.reserve();
    doc.setRawStream(fontFile, length1, sub->data, sub->compressed);

    std::string name = file_->getName();
    if (name.empty()) name = "Unknown-Font";
    if (isArtificialBold() && isArtificialItalic()) name += ",BoldItalic";
    else if (isArtificialBold()) name += ",Bold";
    else if (isArtificialItalic()) name += ",Italic";
    std::string baseName = "/" + sub->tag + "+" + name;

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

    // Codes are new glyph numbers; glyphs pulled in by composites have no code and need no width.
    std::string cid = "/Type/Font/Subtype/CIDFontType2/BaseFont" + baseName +
                      "/CIDSystemInfo<</Registry (Adobe)/Ordering (Identity)/Supplement 0>>/FontDescriptor ";
    appendInt(cid, descriptor);
    cid += " 0 R/CIDToGIDMap/Identity/W[";
    for (size_t code = 0; code < gids_.size(); ++code) {
        appendInt(cid, static_cast<long long>(code));
        cid += '[';
        appendInt(cid, file_->advance(gids_[code]));
        cid += ']';
    }
    cid += ']';
    int descendant = doc.addObject(std::move(cid));

    std::string cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo\n<< /Registry (Adobe)\n"
        "/Ordering (UCS)\n/Supplement 0\n>> def\n/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // At most 100 entries per block.
    for (size_t start = 1; start < gids_.size(); start += 100) {
        size_t end = std::min(gids_.size(), start + 100);
        appendInt(cmap, static_cast<long long>(end - start));
        cmap += " beginbfchar\n";
        for (size_t code = start; code < end; ++code) {
            cmap += '<';
            appendHex4(cmap, static_cast<unsigned>(code));
            cmap += "> <";
            unsigned ch = static_cast<unsigned>(unicode_[code]);
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
    int toUnicode = doc.addStream("", cmap);

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
