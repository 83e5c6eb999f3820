// Finding and opening font files.
//
// A font specification names a file ("arialbd.ttf"), a family ("Times New Roman") or either with a
// face index and style words ("simsun.ttc|1 bold"). Opening one is a fixed sequence of guesses,
// each a file name tried along the search path: the styled family file ("Arial Bold.ttf"), the
// family as a collection with the style as its face index, the name itself, the name with ".ttf",
// and the name with the style words spelled out. Only when none of those exists is the system's
// font configuration asked for the family and style; that is the one step that knows about
// fonts installed under other names (on a fresh Debian machine Liberation and DejaVu stand in for
// the Windows families), and the slowest, so it comes last, after the well-known metric-compatible
// files, and its answers are kept. Whatever cannot be found falls back to "arial.ttf", which
// resolves the same way.
//
// The sequence runs twice. The first pass tries each name only where it would be as it stands: in
// the search folders and the package sub-folders of the system font folders. The second pass,
// reached only when the first found nothing, also reads the whole font trees for names in another
// case or another sub-folder, and asks the font configuration. A chart in the default fonts thus
// opens its files without listing a folder or loading the configuration; the price is that a
// stand-in found in a known place wins over the real face hidden in an unusual sub-folder.
//
// Each file is searched for once: a found file keeps its path (and is reopened from it after an
// idle close), a failed search is remembered for 10 seconds so a missing font in a loop of charts
// costs a map lookup, not a walk of the disk. Sized faces and rendered glyphs stay cached while
// used; an idle sweep, at most every 10 seconds and only while opening faces, drops what went
// unused for a minute and closes files that lost all their sizes.

#include "text/libttfdriver_p.h"

#include "foundation/lasterror_p.h"

#include "text/fontspec_p.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace plotvane {

namespace {

constexpr double kFailureMemory = 9;  // a failed search older than this is repeated
constexpr double kFlushInterval = 10;

double wallClock() { return static_cast<double>(std::time(nullptr)); }

bool isType1Path(const std::string& p) {
    size_t n = p.size();
    return n >= 4 && p[n - 4] == '.' && (p[n - 3] == 'p' || p[n - 3] == 'P') && (p[n - 2] == 'f' || p[n - 2] == 'F');
}

double saneSize(double points) {
    if (std::isnan(points)) return 0;
    return points > 4096 ? 100 : points;
}

int syntheticFlags(int style) { return ((style & 1) ? kSyntheticBold : 0) | ((style & 2) ? kSyntheticItalic : 0); }

int styleOfFlags(int flags) { return ((flags & kSyntheticBold) ? 1 : 0) | ((flags & kSyntheticItalic) ? 2 : 0); }

// "fonts/My Font.ttf" asks the font configuration for "My Font".
std::string familyOfName(const std::string& name) {
    std::string family = name.substr(name.find_last_of("/\\") == std::string::npos ? 0 : name.find_last_of("/\\") + 1);
    static const char* const kExtensions[] = {".ttf", ".ttc", ".otf", ".otc", ".pfa", ".pfb", ".dfont"};
    for (const char* ext : kExtensions) {
        if (endsWithNoCase(family, ext)) {
            family.resize(family.size() - std::strlen(ext));
            break;
        }
    }
    return family;
}

}  // namespace

// Lines written by testFont; always NUL-terminated, cut at the end of the buffer.
struct LibTTFFontDriver::Report {
    char* pos;
    char* end;

    void add(const char* format, ...) {
        if (pos >= end) return;
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(pos, static_cast<size_t>(end - pos), format, args);
        va_end(args);
        if (n > 0) pos += std::min<ptrdiff_t>(n, end - pos - 1);
    }
};

LibTTFFontFace::LibTTFFontFace(LibTTFFontDriver* driver, std::string path, int index, FT_Face face, double now)
    : stamp(now), driver_(driver), path_(std::move(path)), index_(index), face_(face), type1_(isType1Path(path_)) {}

LibTTFFontFace::~LibTTFFontFace() {
    sizes_.clear();
    close();
}

void LibTTFFontFace::close() {
    if (face_) FT_Done_Face(face_);
    face_ = nullptr;
    pixelWidth_ = pixelHeight_ = kUnsetPixelSize;
}

bool LibTTFFontFace::reopen() {
    FT_Face face = nullptr;
    if (path_.empty() || FT_New_Face(driver_->library(), path_.c_str(), index_, &face)) return false;
    face_ = face;
    return true;
}

bool LibTTFFontFace::usePixelSizes(int width, int height) {
    if (!face_) return false;
    if (width == pixelWidth_ && height == pixelHeight_) return true;
    FT_Error error = FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>(width), static_cast<FT_UInt>(height));
    if (error && face_->num_fixed_sizes > 0) {
        int best = 0;
        for (int i = 1; i < face_->num_fixed_sizes; ++i)
            if (std::abs(face_->available_sizes[i].height - height) < std::abs(face_->available_sizes[best].height - height))
                best = i;
        const FT_Bitmap_Size& strike = face_->available_sizes[best];
        error = FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>((strike.x_ppem + 32) >> 6),
                                   static_cast<FT_UInt>((strike.y_ppem + 32) >> 6));
    }
    pixelWidth_ = error ? kUnsetPixelSize : width;
    pixelHeight_ = error ? kUnsetPixelSize : height;
    return !error;
}

LibTTFSizedFontFace* LibTTFFontFace::sizedFace(double height, double width, int style, double now) {
    // Sizes are told apart to 1/20 point.
    uint64_t h20 = static_cast<uint64_t>(static_cast<int64_t>(height * 20)) & 0xffffff;
    uint64_t w20 = static_cast<uint64_t>(static_cast<int64_t>(width * 20)) & 0xffffff;
    uint64_t key = (static_cast<uint64_t>(style) << 48) | (h20 << 24) | w20;
    std::unique_ptr<LibTTFSizedFontFace>& sized = sizes_[key];
    if (!sized) sized = std::make_unique<LibTTFSizedFontFace>(this, height, width, style);
    sized->stamp = now;
    sized->addRef();
    return sized.get();
}

void LibTTFFontFace::flush(double now) {
    for (auto it = sizes_.begin(); it != sizes_.end();) {
        LibTTFSizedFontFace& s = *it->second;
        s.evictGlyphs(now);
        if (s.refs() < 1 && s.glyphCount() == 0 && std::fabs(now - s.stamp) >= 60)
            it = sizes_.erase(it);
        else
            ++it;
    }
    if (sizes_.empty()) close();
}

LibTTFFontDriver::LibTTFFontDriver(std::vector<FontSearchEntry> searchPath)
    : searchPath_(std::move(searchPath)), clock_(wallClock) {
    FT_Init_FreeType(&library_);
    lastFlush_ = clock_();
}

LibTTFFontDriver::~LibTTFFontDriver() {
    faces_.clear();
    scratch_.clear();
    retired_.clear();
    if (library_) FT_Done_FreeType(library_);
}

void LibTTFFontDriver::setSearchPath(std::vector<FontSearchEntry> searchPath, bool confined) {
    searchPath_ = std::move(searchPath);
    confined_ = confined;
    forgetResolutions();
    for (auto& entry : faces_) retired_.push_back(std::move(entry.second));
    faces_.clear();
}

bool LibTTFFontDriver::openPath(const std::string& path, int index, FT_Face* face) {
    if (report_) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) {
            int e = errno;
            report_->add("Searching for %s - %s [err code = %d]\n", path.c_str(), std::strerror(e), e);
            return false;
        }
        std::fclose(f);
    }
    FT_Error error = FT_New_Face(library_, path.c_str(), index, face);
    if (report_) {
        if (error)
            report_->add("Error loading %s [FT err code = %d]\n", path.c_str(), error);
        else
            report_->add("Successfully opened %s\n", path.c_str());
    }
    if (error) return false;
    FT_Face f = *face;
    if (!f->charmap && f->num_charmaps > 0 && FT_Select_Charmap(f, FT_ENCODING_APPLE_ROMAN))
        FT_Set_Charmap(f, f->charmaps[0]);
    return true;
}

bool LibTTFFontDriver::openFile(const std::string& name, int index, bool thorough, FT_Face* face,
                                std::string* path) {
    if (!library_ || name.empty()) return false;
    std::vector<std::string> tried;
    auto attempt = [&](const std::string& p) {
        if (std::find(tried.begin(), tried.end(), p) != tried.end()) return false;
        tried.push_back(p);
        if (!openPath(p, index, face)) return false;
        *path = p;
        return true;
    };
    if (name[0] == '/' || name[0] == '\\') return attempt(name);
    bool plainName = name.find_first_of("/\\") == std::string::npos;
    for (const FontSearchEntry& entry : searchPath_) {
        // The report lists every place a name could be, missing folders too.
        if (!report_ && entry.index && !entry.index->present()) continue;
        if (attempt(entry.prefix + name)) return true;
        if (!entry.index || !plainName) continue;
        for (const std::string& folder : entry.index->packageFolders())
            if (attempt(entry.prefix + folder + name)) return true;
    }
    if (!thorough || !plainName) return false;
    for (const FontSearchEntry& entry : searchPath_) {
        const std::string* indexed = entry.index ? entry.index->find(name) : nullptr;
        if (indexed && attempt(*indexed)) return true;
    }
    return false;
}

LibTTFFontFace* LibTTFFontDriver::cachedOpenFace(const std::string& name, int index, double now, bool thorough) {
    auto key = std::make_pair(toLowerAscii(name), index);
    auto it = faces_.find(key);
    if (it != faces_.end()) {
        LibTTFFontFace* entry = it->second.get();
        if (!entry->path().empty()) {
            entry->stamp = now;
            if (entry->isOpen() || entry->reopen()) return entry;
            forgetResolutions();  // they may point at the entry going away
        } else if (std::fabs(now - entry->stamp) <= kFailureMemory && (entry->thorough || !thorough)) {
            oldestFailure_ = std::min(oldestFailure_, entry->stamp);
            return nullptr;
        }
        faces_.erase(it);
    }
    FT_Face face = nullptr;
    std::string path;
    bool found = openFile(name, index, thorough, &face, &path);
    auto entry = std::make_unique<LibTTFFontFace>(this, found ? path : std::string(), index, found ? face : nullptr, now);
    entry->thorough = thorough;
    LibTTFFontFace* result = found ? entry.get() : nullptr;
    faces_[key] = std::move(entry);
    return result;
}

LibTTFFontFace* LibTTFFontDriver::tryFile(const std::string& name, int index, double now) {
    if (!report_) return cachedOpenFace(name, index, now, thorough_);
    FT_Face face = nullptr;
    std::string path;
    if (!openFile(name, index, thorough_, &face, &path)) return nullptr;
    scratch_.push_back(std::make_unique<LibTTFFontFace>(this, path, index, face, now));
    return scratch_.back().get();
}

LibTTFFontDriver::Located LibTTFFontDriver::systemFallback(const std::string& family, int style, int flags,
                                                           bool standard, double now) {
    // The usual stand-ins are known by name, which spares a simple chart loading the font
    // configuration at all.
    std::string compatible = metricCompatibleFile(family, style);
    if (!compatible.empty()) {
        if (LibTTFFontFace* file = tryFile(compatible, 0, now)) return {file, flags};
    }
    if (!thorough_ || confined_) return {};
    const FontConfigLookup::Answer& answer = fontConfig_.find(family, style);
    // For a family of its own the configuration's nearest match is no answer (it would be its
    // default font); such a name falls back to "arial.ttf" instead.
    if (answer.path.empty() || (!standard && !answer.sameFamily)) return {};
    LibTTFFontFace* file = tryFile(answer.path, answer.index, now);
    if (!file) return {};
    // A style the configuration could not supply is made up synthetically.
    int missing = syntheticFlags(style & ~answer.style);
    if (!standard) flags &= ~(kSyntheticBold | kSyntheticItalic);
    bool substitute = !standard && toLowerAscii(answer.family) != toLowerAscii(family);
    return {file, flags | missing, substitute};
}

LibTTFFontDriver::Located LibTTFFontDriver::locateSpec(const std::string& name, int fontIndex, double now) {
    FontSpec spec = parseFontSpec(name.c_str(), fontIndex);
    const std::string& base = spec.base;
    if (base.empty()) return {};
    int flags = spec.flags;
    StandardFont standard;
    bool mapped = spec.index == 0 && base.find('/') == std::string::npos && mapStandardFont(base, flags, standard);

    bool tryBase = true;
    if (mapped) {
        std::string styled = standard.family + ((standard.style & 1) ? " Bold" : "") +
                             ((standard.style & 2) ? " Italic" : "") + ".ttf";
        if (LibTTFFontFace* f = tryFile(styled, 0, now)) return {f, flags};
        if (LibTTFFontFace* f = tryFile(standard.family, standard.style, now)) return {f, flags};
        tryBase = !(equalsNoCase(standard.family, base.c_str()) && standard.style == spec.index);
    }
    if (tryBase) {
        if (LibTTFFontFace* f = tryFile(base, spec.index, now)) return {f, flags};
    }
    if (!endsWithNoCase(base, ".ttf") && !endsWithNoCase(base, ".dfont")) {
        // Names spelled with their style words are real styled faces: no synthetic styling.
        if (spec.flags) {
            if (LibTTFFontFace* f = tryFile(spec.text, spec.index, now)) return {f, 0};
        }
        std::string lastTried = base + ".ttf";
        if (LibTTFFontFace* f = tryFile(lastTried, spec.index, now)) return {f, flags};
        if (spec.flags) {
            lastTried = spec.text + ".ttf";
            if (LibTTFFontFace* f = tryFile(lastTried, spec.index, now)) return {f, 0};
        }
        if (!mapped) {
            std::string styled = base + ((flags & kSyntheticBold) ? " Bold" : "") +
                                 ((flags & kSyntheticItalic) ? " Italic" : "") + ".ttf";
            if (styled != lastTried) {
                if (LibTTFFontFace* f = tryFile(styled, 0, now)) return {f, 0};
            }
        }
    }
    if (mapped) return systemFallback(standard.family, standard.style, flags, true, now);
    return systemFallback(familyOfName(base), styleOfFlags(flags), flags, false, now);
}

LibTTFFontDriver::Located LibTTFFontDriver::locate(const char* name, int fontIndex, double now) {
    const std::pair<const char*, int> attempts[] = {{name ? name : "", fontIndex < 0 ? 0 : fontIndex}, {"arial.ttf", 0}};
    for (const auto& attempt : attempts) {
        for (bool thorough : {false, true}) {
            thorough_ = thorough;
            Located found = locateSpec(attempt.first, attempt.second, now);
            if (found.file) {
                thorough_ = false;
                found.substitute = found.substitute || &attempt != attempts;
                return found;
            }
        }
    }
    thorough_ = false;
    return {};
}

LibTTFFontDriver::Located LibTTFFontDriver::resolve(const char* name, int fontIndex, double now) {
    auto key = std::make_pair(std::string(name ? name : ""), fontIndex);
    auto it = resolved_.find(key);
    if (it != resolved_.end()) {
        const Resolution& r = it->second;
        LibTTFFontFace* file = r.found.file;
        if (std::fabs(now - r.oldestFailure) <= kFailureMemory && (file->isOpen() || file->reopen())) {
            file->stamp = now;
            if (r.found.substitute) reportSubstitute(name, r.found);
            return r.found;
        }
        resolved_.erase(it);
    }
    oldestFailure_ = now;
    Located found = locate(name, fontIndex, now);
    if (found.file) resolved_[key] = {found, oldestFailure_};
    if (found.substitute) reportSubstitute(name, found);
    else if (!found.file) setLastError("no font found for '%s'", name ? name : "");
    return found;
}

void LibTTFFontDriver::reportSubstitute(const char* name, const Located& found) {
    const std::string& path = found.file->path();
    size_t slash = path.find_last_of('/');
    setLastError("unknown font '%s'; using '%s'", name ? name : "",
                 path.c_str() + (slash == std::string::npos ? 0 : slash + 1));
}

void LibTTFFontDriver::forgetResolutions() {
    resolved_.clear();
    fallbacks_.clear();
}

FontFace* LibTTFFontDriver::openFace(const char* name, int fontIndex, double height, double width, double) {
    double now = clock_();
    return openLocated(resolve(name, fontIndex, now), height, width, now);
}

FontFace* LibTTFFontDriver::openLocated(const Located& found, double height, double width, double now) {
    FontFace* face = nullptr;
    if (found.file) {
        int style = found.flags | (found.file->isType1() ? kType1Font : 0);
        face = found.file->sizedFace(saneSize(height), saneSize(width), style, now);
    }
    flushCache(now);
    return face;
}

FontFace* LibTTFFontDriver::openFallback(int ch, int style, double height, double width, double) {
    // Control and private-use characters have no glyph anywhere worth asking for.
    if (ch < 0x20 || (ch >= 0xe000 && ch <= 0xf8ff) || ch >= 0xf0000) return nullptr;
    double now = clock_();
    uint64_t key = (static_cast<uint64_t>(ch) << 2) | static_cast<uint64_t>(style & 3);
    auto known = fallbacks_.find(key);
    if (known != fallbacks_.end()) {
        LibTTFFontFace* file = known->second.file;
        if (!file) return nullptr;
        if (file->isOpen() || file->reopen()) {
            file->stamp = now;
            return openLocated(known->second, height, width, now);
        }
    }
    const FontConfigLookup::Answer& answer = fontConfig_.findCovering(ch, style);
    if (answer.path.empty()) {
        fallbacks_[key] = Located();  // no font has it
        return nullptr;
    }
    Located found = resolve(answer.path.c_str(), answer.index, now);
    if (found.file && !found.substitute) fallbacks_[key] = found;
    return openLocated(found, height, width, now);
}

bool LibTTFFontDriver::testFont(char* begin, char* end, const char* name, int fontIndex, double, double, double) {
    if (begin && end > begin) *begin = 0;
    Report report{begin, begin && end > begin ? end : begin};
    report_ = &report;
    bool found = locate(name, fontIndex, clock_()).file != nullptr;
    report_ = nullptr;
    scratch_.clear();
    return found;
}

void LibTTFFontDriver::flushCache(double now) {
    if (std::fabs(now - lastFlush_) < kFlushInterval) return;
    lastFlush_ = now;
    for (auto& entry : faces_) entry.second->flush(now);
}

}  // namespace plotvane
