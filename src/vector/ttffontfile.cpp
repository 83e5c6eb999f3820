// Reading: the table directory (of the chosen face of a collection), head/hhea/maxp/hmtx for
// metrics, OS/2 and post for the descriptor, name for the PostScript name, and the Windows Unicode
// cmap (format 12, else format 4) flattened into a lookup table.
//
// Subsetting renumbers glyphs in the order the document first used them, so the subset is small
// and the PDF's character ids are simply the new glyph numbers. Composite glyphs pull their
// components in (their indices are rewritten). The subset file carries only what a PDF renderer
// needs from an embedded TrueType font: head, hhea, maxp, hmtx, loca, glyf and the hinting tables.
#include "vector/ttffontfile_p.h"

#include <plotvane/mutex.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "vector/gzip_p.h"

namespace plotvane {

namespace {

vek::Mutex cacheLock;
constexpr size_t kMaxFiles = 16;
constexpr size_t kMaxSubsetsPerFile = 64;

uint32_t u32(const std::string& d, size_t at) {
    if (at + 4 > d.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint16_t u16(const std::string& d, size_t at) {
    if (at + 2 > d.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(d.data() + at);
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
int16_t s16(const std::string& d, size_t at) { return static_cast<int16_t>(u16(d, at)); }

void put16(std::string& d, size_t at, uint32_t v) {
    d[at] = static_cast<char>(v >> 8);
    d[at + 1] = static_cast<char>(v);
}
void put32(std::string& d, size_t at, uint32_t v) {
    put16(d, at, v >> 16);
    put16(d, at + 2, v & 0xffff);
}
void append16(std::string& d, uint32_t v) {
    d += static_cast<char>(v >> 8);
    d += static_cast<char>(v);
}
void append32(std::string& d, uint32_t v) {
    append16(d, v >> 16);
    append16(d, v & 0xffff);
}

uint32_t checksum(const std::string& d, size_t at, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i < length; i += 4) {
        uint32_t w = 0;
        for (size_t k = 0; k < 4; ++k) w = (w << 8) | (i + k < length ? static_cast<unsigned char>(d[at + i + k]) : 0u);
        sum += w;
    }
    return sum;
}

bool readWhole(const std::string& path, std::string& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && out.size() < (256u << 20)) out.append(buf, n);
    std::fclose(f);
    return !out.empty();
}

}  // namespace

std::shared_ptr<const PDFTTFFontFile> PDFTTFFontFile::create(const std::string& path, int index) {
    static std::map<std::pair<std::string, int>, std::shared_ptr<const PDFTTFFontFile>> files;
    auto key = std::make_pair(path, index);
    {
        vek::MutexLock lock(cacheLock);
        auto it = files.find(key);
        if (it != files.end()) return it->second;
    }
    std::shared_ptr<PDFTTFFontFile> file(new PDFTTFFontFile());
    if (!readWhole(path, file->data_) || !file->parse(index)) file.reset();
    vek::MutexLock lock(cacheLock);
    if (files.size() >= kMaxFiles) files.clear();  // documents keep the files they hold alive
    auto inserted = files.emplace(key, file);
    return inserted.first->second;
}

const PDFTTFFontFile::Table* PDFTTFFontFile::table(const char* tag) const {
    auto it = tables_.find(tag);
    return it == tables_.end() ? nullptr : &it->second;
}

bool PDFTTFFontFile::parse(int index) {
    const std::string& d = data_;
    size_t base = 0;
    if (d.compare(0, 4, "ttcf") == 0) {
        if (index < 0 || static_cast<uint32_t>(index) >= u32(d, 8)) return false;
        base = u32(d, 12 + 4 * static_cast<size_t>(index));
    }
    uint32_t version = u32(d, base);
    if (version != 0x00010000 && version != 0x74727565) return false;  // outlines must be TrueType
    int numTables = u16(d, base + 4);
    for (int i = 0; i < numTables; ++i) {
        size_t rec = base + 12 + 16 * static_cast<size_t>(i);
        if (rec + 16 > d.size()) return false;
        Table t{u32(d, rec + 8), u32(d, rec + 12)};
        if (t.offset > d.size() || t.length > d.size() - t.offset) continue;
        tables_[d.substr(rec, 4)] = t;
    }
    const Table *head = table("head"), *hhea = table("hhea"), *maxp = table("maxp"), *hmtx = table("hmtx"),
                *loca = table("loca"), *glyf = table("glyf");
    if (!head || !hhea || !maxp || !hmtx || !loca || !glyf || head->length < 54 || hhea->length < 36) return false;
    unitsPerEm_ = u16(d, head->offset + 18);
    if (unitsPerEm_ < 16) unitsPerEm_ = 1000;
    longLoca_ = s16(d, head->offset + 50) != 0;
    numGlyphs_ = u16(d, maxp->offset + 4);
    numHMetrics_ = std::min<int>(u16(d, hhea->offset + 34), static_cast<int>(hmtx->length / 4));
    if (numGlyphs_ == 0 || numHMetrics_ == 0 || loca->length < static_cast<uint32_t>(numGlyphs_ + 1) * (longLoca_ ? 4 : 2))
        return false;
    auto em = [this](int v) { return v * 1000 / unitsPerEm_; };
    for (int i = 0; i < 4; ++i) bbox[i] = em(s16(d, head->offset + 36 + 2 * static_cast<size_t>(i)));
    ascent = em(s16(d, hhea->offset + 4));
    descent = em(s16(d, hhea->offset + 6));
    capHeight = ascent;
    if (const Table* os2 = table("OS/2"); os2 && os2->length >= 90 && u16(d, os2->offset) >= 2)
        capHeight = em(s16(d, os2->offset + 88));
    if (const Table* post = table("post"); post && post->length >= 16) {
        italicAngle = static_cast<int32_t>(u32(d, post->offset + 4)) / 65536.0;
        fixedPitch = u32(d, post->offset + 12) != 0;
    }
    if (const Table* name = table("name"); name && name->length >= 6) {
        size_t count = u16(d, name->offset + 2), strings = name->offset + u16(d, name->offset + 4);
        for (size_t i = 0; i < count && name_.empty(); ++i) {
            size_t rec = name->offset + 6 + 12 * i;
            int platform = u16(d, rec), nameId = u16(d, rec + 6), length = u16(d, rec + 8);
            size_t at = strings + u16(d, rec + 10);
            if (nameId != 6 || at + static_cast<size_t>(length) > d.size()) continue;
            bool wide = platform == 0 || platform == 3;
            for (int k = wide ? 1 : 0; k < length; k += wide ? 2 : 1) {
                char c = d[at + static_cast<size_t>(k)];
                if (c > 32 && c < 127 && c != '(' && c != ')' && c != '/' && c != '[' && c != ']' && c != '<' &&
                    c != '>' && c != '{' && c != '}' && c != '%')
                    name_ += c;
            }
        }
    }
    // Character map: Windows full Unicode (format 12) when present, else Windows BMP (format 4).
    bmp_.assign(65536, 0);
    const Table* cmap = table("cmap");
    if (!cmap) return true;
    size_t best = 0;
    int bestFormat = 0;
    for (size_t i = 0, n = u16(d, cmap->offset + 2); i < n; ++i) {
        size_t rec = cmap->offset + 4 + 8 * i;
        int platform = u16(d, rec), encoding = u16(d, rec + 2);
        size_t sub = cmap->offset + u32(d, rec + 4);
        int format = u16(d, sub);
        bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (unicode && (format == 12 || (format == 4 && bestFormat != 12))) best = sub, bestFormat = format;
    }
    if (bestFormat == 4) {
        size_t segX2 = u16(d, best + 6);
        size_t ends = best + 14, starts = ends + segX2 + 2, deltas = starts + segX2, ranges = deltas + segX2;
        for (size_t s = 0; s < segX2; s += 2) {
            int end = u16(d, ends + s), start = u16(d, starts + s), delta = s16(d, deltas + s);
            int rangeOffset = u16(d, ranges + s);
            for (int c = start; c <= end && c < 65536; ++c) {
                int g;
                if (rangeOffset == 0) {
                    g = (c + delta) & 0xffff;
                } else {
                    size_t at = ranges + s + static_cast<size_t>(rangeOffset) + 2 * static_cast<size_t>(c - start);
                    g = u16(d, at);
                    if (g) g = (g + delta) & 0xffff;
                }
                bmp_[static_cast<size_t>(c)] = static_cast<uint16_t>(g < numGlyphs_ ? g : 0);
            }
        }
    } else if (bestFormat == 12) {
        for (size_t i = 0, n = u32(d, best + 12); i < n && best + 16 + 12 * i + 12 <= d.size(); ++i) {
            size_t g = best + 16 + 12 * i;
            uint32_t start = u32(d, g), end = std::min<uint32_t>(u32(d, g + 4), 0x10ffff), gid = u32(d, g + 8);
            for (uint32_t c = start; c <= end && end - start < 0x110000; ++c, ++gid) {
                int glyph = gid < static_cast<uint32_t>(numGlyphs_) ? static_cast<int>(gid) : 0;
                if (c < 65536) bmp_[c] = static_cast<uint16_t>(glyph);
                else supplementary_[static_cast<int>(c)] = glyph;
            }
        }
    }
    return true;
}

int PDFTTFFontFile::readCmap(int ch) const {
    if (ch >= 0 && ch < 65536) return bmp_[static_cast<size_t>(ch)];
    auto it = supplementary_.find(ch);
    return it == supplementary_.end() ? 0 : it->second;
}

bool PDFTTFFontFile::getGlyphLoc(int gid, uint32_t& offset, uint32_t& length) const {
    if (gid < 0 || gid >= numGlyphs_) return false;
    const Table *loca = table("loca"), *glyf = table("glyf");
    size_t g = static_cast<size_t>(gid);
    uint32_t a = longLoca_ ? u32(data_, loca->offset + 4 * g) : 2u * u16(data_, loca->offset + 2 * g);
    uint32_t b = longLoca_ ? u32(data_, loca->offset + 4 * g + 4) : 2u * u16(data_, loca->offset + 2 * g + 2);
    if (b < a || b > glyf->length) return false;
    offset = glyf->offset + a;
    length = b - a;
    return true;
}

int PDFTTFFontFile::rawAdvance(int gid) const {
    int i = std::min(gid, numHMetrics_ - 1);
    return u16(data_, table("hmtx")->offset + 4 * static_cast<size_t>(i));
}

int PDFTTFFontFile::rawLsb(int gid) const {
    size_t at = gid < numHMetrics_ ? 4 * static_cast<size_t>(gid) + 2
                                   : 4 * static_cast<size_t>(numHMetrics_) + 2 * static_cast<size_t>(gid - numHMetrics_);
    return s16(data_, table("hmtx")->offset + at);
}

int PDFTTFFontFile::advance(int gid) const { return rawAdvance(gid) * 1000 / unitsPerEm_; }

std::shared_ptr<const PDFTTFFontFile::Subset> PDFTTFFontFile::subset(const std::vector<int>& gids) const {
    {
        vek::MutexLock lock(cacheLock);
        auto it = subsets_.find(gids);
        if (it != subsets_.end()) return it->second;
    }
    std::shared_ptr<const Subset> made = buildSubset(gids);
    vek::MutexLock lock(cacheLock);
    if (subsets_.size() >= kMaxSubsetsPerFile) subsets_.clear();
    return subsets_.emplace(gids, made).first->second;
}

std::shared_ptr<PDFTTFFontFile::Subset> PDFTTFFontFile::buildSubset(const std::vector<int>& wanted) const {
    auto sub = std::make_shared<Subset>();
    std::vector<int>& gids = sub->gids;
    std::unordered_map<int, int> newIndex;
    auto add = [&](int g) {
        if (g < 0 || g >= numGlyphs_) g = 0;
        auto it = newIndex.find(g);
        if (it != newIndex.end()) return it->second;
        newIndex[g] = static_cast<int>(gids.size());
        gids.push_back(g);
        return static_cast<int>(gids.size()) - 1;
    };
    add(0);
    for (int g : wanted) add(g);

    // glyf and loca; composites are walked as they are copied, appending their components.
    std::string glyf, loca;
    for (size_t i = 0; i < gids.size(); ++i) {
        append32(loca, static_cast<uint32_t>(glyf.size()));
        uint32_t offset = 0, length = 0;
        if (!getGlyphLoc(gids[i], offset, length) || length < 10) continue;
        size_t start = glyf.size();
        glyf.append(data_, offset, length);
        if (s16(data_, offset) < 0) {
            size_t at = start + 10;
            for (;;) {
                if (at + 4 > glyf.size()) break;
                uint16_t flags = u16(glyf, at);
                put16(glyf, at + 2, static_cast<uint32_t>(add(u16(glyf, at + 2))));
                at += 4 + ((flags & 1) ? 4 : 2) + ((flags & 8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0);
                if (!(flags & 0x20)) break;
            }
        }
        while (glyf.size() % 4) glyf += '\0';
    }
    append32(loca, static_cast<uint32_t>(glyf.size()));
    int n = static_cast<int>(gids.size());

    std::string hmtx;
    for (int g : gids) {
        append16(hmtx, static_cast<uint32_t>(rawAdvance(g)));
        append16(hmtx, static_cast<uint32_t>(rawLsb(g)) & 0xffff);
    }
    auto copy = [this](const char* tag) {
        const Table* t = table(tag);
        return t ? data_.substr(t->offset, t->length) : std::string();
    };
    std::string head = copy("head"), hhea = copy("hhea"), maxp = copy("maxp");
    put32(head, 8, 0);
    put16(head, 50, 1);
    put16(hhea, 34, static_cast<uint32_t>(n));
    put16(maxp, 4, static_cast<uint32_t>(n));

    // Tables in tag order, as the directory must list them.
    std::vector<std::pair<const char*, std::string>> tables = {
        {"cvt ", copy("cvt ")}, {"fpgm", copy("fpgm")}, {"glyf", std::move(glyf)}, {"head", std::move(head)},
        {"hhea", std::move(hhea)}, {"hmtx", std::move(hmtx)}, {"loca", std::move(loca)}, {"maxp", std::move(maxp)},
        {"prep", copy("prep")}};
    tables.erase(std::remove_if(tables.begin(), tables.end(), [](const auto& t) { return t.second.empty(); }),
                 tables.end());
    uint16_t count = static_cast<uint16_t>(tables.size());
    uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= count) ++entrySelector;
    std::string font;
    append32(font, 0x00010000);
    append16(font, count);
    append16(font, 16u << entrySelector);
    append16(font, entrySelector);
    append16(font, count * 16u - (16u << entrySelector));
    size_t offset = 12 + 16 * tables.size(), headAt = 0;
    for (auto& [tag, bytes] : tables) {
        font.append(tag, 4);
        append32(font, checksum(bytes, 0, bytes.size()));
        append32(font, static_cast<uint32_t>(offset));
        append32(font, static_cast<uint32_t>(bytes.size()));
        if (std::strcmp(tag, "head") == 0) headAt = offset;
        offset += (bytes.size() + 3) & ~size_t(3);
    }
    for (auto& t : tables) {
        font += t.second;
        while (font.size() % 4) font += '\0';
    }
    if (headAt) put32(font, headAt + 8, 0xb1b0afbau - checksum(font, 0, font.size()));

    sub->length = font.size();
    if (zlibCompress(font.data(), font.size(), sub->data)) {
        sub->compressed = true;
    } else {
        sub->data = std::move(font);
    }
    uint32_t hash = 2166136261u;
    for (int g : sub->gids) hash = (hash ^ static_cast<uint32_t>(g)) * 16777619u;
    for (int i = 0; i < 6; ++i, hash /= 26) sub->tag += static_cast<char>('A' + hash % 26);
    return sub;
}

}  // namespace plotvane
