// Output and input of a DrawArea. Raster formats bring the canvas up to date and encode it;
// the ".agf" dump reads the recording. File outputs encode into memory first and write the file
// only when encoding succeeded; memory outputs reuse the area's one output stream. Image files
// are read whole, checked for type and size, and recorded as they are, to be decoded on replay.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "draw/canvaslimits_p.h"
#include "draw/drawarea_p.h"
#include "draw/drawbmp_p.h"
#include "draw/imageio_p.h"
#include "draw/memcache_p.h"
#include "foundation/lasterror_p.h"

namespace plotvane {

namespace {

enum RasterFormat { kPNG, kGIF, kJPG, kWMP, kBMP, kFast };

constexpr double kCacheLifetime = 60;  // seconds an unlocked cached output is kept

bool endsWith(const char* name, const char* suffix) {
    std::string s = name ? name : "";
    std::string t = suffix;
    if (s.size() < t.size()) return false;
    for (size_t k = 0; k < t.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - t.size() + k])) != t[k]) return false;
    return true;
}

}  // namespace

bool DrawAreaImpl::writeRaster(vek::ostream& out, int format, int quality) {
    DrawBMP* canvas = getCanvas();
    RasterImage image = canvas->image();
    RasterSettings& settings = canvas->settings();
    switch (format) {
        case kPNG: return writePNG(out, image, settings);
        case kGIF: return writeGIF(out, image, settings);
        case kJPG: return writeJPG(out, image, settings, quality);
        case kWMP: return writeWMP(out, image, settings);
        case kBMP: return writeBMP(out, image, settings);
        default: return writeFastImage(out, image, settings);
    }
}

void DrawAreaImpl::writeDump(vek::ostream& out) { meta_->outMeta(out); }

namespace {

bool writeAll(int fd, const char* bytes, int length) {
    for (int done = 0; done < length;) {
        ssize_t n = ::write(fd, bytes + done, static_cast<size_t>(length - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<int>(n);
    }
    // No fsync: a full device or a size limit fails the write or the close already, and syncing
    // costs a short-lived program more than drawing its chart (about 10 ms on ext4).
    return true;
}

}  // namespace

bool DrawAreaImpl::replaceFile(const char* filename, const char* bytes, int length) {
    auto cannot = [filename](const char* what) {
        setLastError("cannot %s %s: %s", what, filename, std::strerror(errno));
        return false;
    };
    struct stat old;
    if (stat(filename, &old) != 0) {
        // Nothing to lose: a new file gets the caller's usual permissions, and goes again on failure.
        int fd = open(filename, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return cannot("open");
        bool ok = writeAll(fd, bytes, length);
        ok = ::close(fd) == 0 && ok;
        if (ok) return true;
        cannot("write");
        std::remove(filename);
        return false;
    }
    std::string temporary = std::string(filename) + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return cannot("open");
    bool ok = fchmod(fd, old.st_mode & 07777) == 0 && writeAll(fd, bytes, length);
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), filename) == 0;
    if (ok) return true;
    cannot("write");
    std::remove(temporary.c_str());
    return false;
}

bool DrawAreaImpl::out(const char* filename) {
    if (endsWith(filename, ".gif")) return outGIF(filename);
    if (endsWith(filename, ".jpg") || endsWith(filename, ".jpeg")) return outJPG(filename, 80);
    if (endsWith(filename, ".png")) return outPNG(filename);
    if (endsWith(filename, ".wbmp") || endsWith(filename, ".wmp")) return outWMP(filename);
    if (endsWith(filename, ".bmp")) return outBMP(filename);
    if (endsWith(filename, ".svg")) return outSVG(filename, nullptr);
    if (endsWith(filename, ".svgz")) return outSVG(filename, "compress");
    if (endsWith(filename, ".agf")) return outAGF(filename);
    if (endsWith(filename, ".pdf")) return outPDF(filename);
    return outPNG(filename);
}

bool DrawAreaImpl::outGIF(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) { return writeRaster(o, kGIF, -1); });
}
bool DrawAreaImpl::outPNG(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) { return writeRaster(o, kPNG, -1); });
}
bool DrawAreaImpl::outJPG(const char* filename, int quality) {
    return toFile(filename, [this, quality](vek::ostream& o) { return writeRaster(o, kJPG, quality); });
}
bool DrawAreaImpl::outWMP(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) { return writeRaster(o, kWMP, -1); });
}
bool DrawAreaImpl::outBMP(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) { return writeRaster(o, kBMP, -1); });
}
bool DrawAreaImpl::outAGF(const char* filename) {
    return toFile(filename, [this](vek::ostream& o) {
        writeDump(o);
        return true;
    });
}

MemBlock DrawAreaImpl::outGIF() {
    return toMemory([this](vek::ostream& o) { return writeRaster(o, kGIF, -1); });
}
MemBlock DrawAreaImpl::outPNG() {
    return toMemory([this](vek::ostream& o) { return writeRaster(o, kPNG, -1); });
}
MemBlock DrawAreaImpl::outJPG(int quality) {
    return toMemory([this, quality](vek::ostream& o) { return writeRaster(o, kJPG, quality); });
}
MemBlock DrawAreaImpl::outWMP() {
    return toMemory([this](vek::ostream& o) { return writeRaster(o, kWMP, -1); });
}
MemBlock DrawAreaImpl::outBMP() {
    return toMemory([this](vek::ostream& o) { return writeRaster(o, kBMP, -1); });
}
MemBlock DrawAreaImpl::outFastImage() {
    return toMemory([this](vek::ostream& o) { return writeRaster(o, kFast, -1); });
}
MemBlock DrawAreaImpl::outAGF() {
    return toMemory([this](vek::ostream& o) {
        writeDump(o);
        return true;
    });
}

namespace {

bool intoPointers(MemBlock block, const char** data, int* len) {
    if (data) *data = block.len > 0 ? block.data : nullptr;
    if (len) *len = block.len;
    return block.len > 0;
}

}  // namespace

bool DrawAreaImpl::outGIF(const char** data, int* len) { return intoPointers(outGIF(), data, len); }
bool DrawAreaImpl::outPNG(const char** data, int* len) { return intoPointers(outPNG(), data, len); }
bool DrawAreaImpl::outJPG(const char** data, int* len, int quality) { return intoPointers(outJPG(quality), data, len); }
bool DrawAreaImpl::outWMP(const char** data, int* len) { return intoPointers(outWMP(), data, len); }
bool DrawAreaImpl::outBMP(const char** data, int* len) { return intoPointers(outBMP(), data, len); }

void DrawAreaImpl::setOutputOptions(const char* options) { meta_->parseOutputOptions(options); }

bool DrawAreaImpl::cacheOutput(const char* key) {
    if (!key || memory_.tell() <= 0) return false;
    int length = memory_.tell();
    char* bytes = memory_.release();
    if (!bytes) return false;
    MemCache& cache = MemCache::instance();
    cache.putAndLockBlock(key, bytes, length, MemCache::now() + kCacheLifetime);
    cache.unlockBlock(key);
    return true;
}

FILE* DrawAreaImpl::urlfopen(const char* name, const char* mode) {
    if (!name || !*name) return nullptr;
    std::string path = name;
    if (path.compare(0, 7, "file://") == 0) path.erase(0, 7);
    FILE* f = std::fopen(path.c_str(), mode);
    if (f || path[0] == '/' || searchPath_.empty()) return f;
    size_t start = 0;
    while (!f && start <= searchPath_.size()) {
        size_t end = searchPath_.find(';', start);
        if (end == std::string::npos) end = searchPath_.size();
        std::string dir = searchPath_.substr(start, end - start);
        if (!dir.empty()) {
            if (dir.back() != '/' && dir.back() != '\\') dir += '/';
            f = std::fopen((dir + path).c_str(), mode);
        }
        start = end + 1;
    }
    return f;
}

int DrawAreaImpl::loadBitMap(const char* name, int expectedType, std::vector<unsigned char>& file, int& width,
                             int& height) {
    FILE* f = urlfopen(name, "rb");
    if (!f) return kLoadOpenFailed;
    std::vector<unsigned char> buffer;
    ImageRead read = readImageBytes(f, buffer);
    std::fclose(f);
    if (read == ImageRead::CannotOpen) return kLoadOpenFailed;
    if (read == ImageRead::TooLarge) return kLoadFileTooLarge;
    if (read == ImageRead::NoMemory) return kLoadNoMemory;
    const int length = static_cast<int>(buffer.size());
    if (length < 3 || plotvane::getImageType(buffer.data(), length) != expectedType) return kLoadWrongType;
    int w = 0, h = 0;
    plotvane::getImageSize(buffer.data(), length, w, h);
    if (w < 1 || h < 1) return kLoadBadSize;
    if (!acceptableCanvas(w, h)) return kLoadTooManyPixels;
    // The file is kept encoded and decoded on replay, so it is decoded once here to be sure that
    // replay will give a picture of the size the header promised.
    std::vector<uint32_t> pixels;
    int dw = 0, dh = 0;
    if (!decodeImage(buffer.data(), length, expectedType, pixels, dw, dh) || dw != w || dh != h)
        return kLoadBadSize;
    file.swap(buffer);
    width = w;
    height = h;
    return 0;
}

bool DrawAreaImpl::loadTyped(const char* filename, int type) {
    std::vector<unsigned char> file;
    int w = 0, h = 0;
    int error = loadBitMap(filename, type, file, w, h);
    if (error) {
        lastError_ = error;
        reportLoadError(filename, type, error);
        return false;
    }
    meta_->loadStream(std::move(file), type, w, h);
    width_ = w;
    height_ = h;
    resetClip();
    return true;
}

void DrawAreaImpl::reportLoadError(const char* filename, int type, int error) {
    const char* name = filename ? filename : "";
    const char* kind = type == kImagePNG ? "PNG" : type == kImageJPG ? "JPEG" : type == kImageGIF ? "GIF" : "WBMP";
    switch (error) {
        case kLoadOpenFailed: setLastError("cannot open %s: %s", name, std::strerror(errno)); break;
        case kLoadWrongType: setLastError("%s is not a %s image", name, kind); break;
        case kLoadBadSize: setLastError("%s: the image has no size", name); break;
        case kLoadTooManyPixels: setLastError("%s: the image has too many pixels", name); break;
        case kLoadFileTooLarge: setLastError("%s: the file is too large", name); break;
        default: setLastError("%s: out of memory", name); break;
    }
}

bool DrawAreaImpl::loadGIF(const char* filename) { return loadTyped(filename, kImageGIF); }
bool DrawAreaImpl::loadPNG(const char* filename) { return loadTyped(filename, kImagePNG); }
bool DrawAreaImpl::loadJPG(const char* filename) { return loadTyped(filename, kImageJPG); }
bool DrawAreaImpl::loadWMP(const char* filename) {
    lastError_ = kLoadWrongType;
    setLastError("%s: WBMP images cannot be loaded", filename ? filename : "");
    return false;
}

bool DrawAreaImpl::load(const char* filename) {
    if (endsWith(filename, ".jpg") || endsWith(filename, ".jpeg")) return loadJPG(filename);
    if (endsWith(filename, ".png")) return loadPNG(filename);
    if (endsWith(filename, ".wbmp") || endsWith(filename, ".wmp")) return loadWMP(filename);
    return loadGIF(filename);
}

}  // namespace plotvane
