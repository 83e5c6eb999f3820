#include "text/fontpath_p.h"

#include "text/fontspec_p.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace plotvane {

namespace {

constexpr int kMaxFolderDepth = 8;

// Where Debian, Fedora and Arch put the DejaVu, Liberation and Microsoft core fonts inside a system
// font folder. When a name is in several of them the index keeps the one a scan visits last, which
// prefers versioned folders ("liberation2" over "liberation"); these are tried in the reverse of
// scan order so that a direct hit is that same file on every machine, whatever else is installed.
const char* const kPackageFolders[] = {
    "truetype/msttcorefonts/", "truetype/liberation2/", "truetype/liberation/", "truetype/dejavu/",
    "liberation-serif/", "liberation-sans/", "liberation-mono/", "liberation/", "dejavu-sans-fonts/", "dejavu/", "TTF/",
};

std::string& customPathStorage() {
    static std::string* path = new std::string;
    return *path;
}

std::string withSlash(std::string entry) {
    if (entry.back() != '/' && entry.back() != '\\') entry += '/';
    return entry;
}

std::string moduleDirectory() {
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&moduleDirectory), &info) || !info.dli_fname) return std::string();
    std::string file = info.dli_fname;
    size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

}  // namespace

const std::string* FontFolderIndex::find(const std::string& name) {
    if (!scanned_) {
        scanned_ = true;
        scan(root_, 0);
    }
    auto it = files_.find(toLowerAscii(name));
    return it == files_.end() ? nullptr : &it->second;
}

const std::vector<std::string>& FontFolderIndex::packageFolders() {
    if (!probed_ && tree_) {
        probed_ = true;
        struct stat st;
        for (const char* folder : kPackageFolders)
            if (stat((root_ + folder).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) packageFolders_.push_back(folder);
    }
    return packageFolders_;
}

bool FontFolderIndex::present() {
    if (present_ < 0) {
        struct stat st;
        present_ = stat(root_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    return present_ != 0;
}

void FontFolderIndex::scan(const std::string& dir, int depth) {
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    std::vector<std::string> names;
    std::vector<std::string> folders;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            folder = stat((dir + n).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        if (folder)
            folders.push_back(n);
        else
            names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    std::sort(folders.begin(), folders.end());
    // Of files with the same name in several folders the last in path order wins, which prefers
    // versioned folders ("liberation2" over "liberation").
    for (const std::string& n : names) files_[toLowerAscii(n)] = dir + n;
    if (tree_ && depth < kMaxFolderDepth)
        for (const std::string& f : folders) scan(dir + f + "/", depth + 1);
}

std::vector<std::string> splitFontPath(const std::string& path) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= path.size()) {
        // A ";" ahead separates; only where none follows does ":" (so "C:\fonts;/usr/x" splits once).
        size_t next = path.find(';', pos);
        if (next == std::string::npos) next = path.find(':', pos);
        if (next == std::string::npos) next = path.size();
        if (next > pos) out.push_back(withSlash(path.substr(pos, next - pos)));
        pos = next + 1;
    }
    return out;
}

namespace {

FontSearchEntry folderEntry(const std::string& folder, bool tree) {
    std::string root = withSlash(folder);
    return {root, std::make_shared<FontFolderIndex>(root, tree)};
}

void addFolders(std::vector<FontSearchEntry>& out, const std::string& path) {
    for (const std::string& p : splitFontPath(path)) out.push_back(folderEntry(p, false));
}

}  // namespace

std::vector<FontSearchEntry> buildSearchPath(const FontPathSources& sources) {
    std::vector<FontSearchEntry> defaults;
    addFolders(defaults, sources.fontPathEnv);
    bool fromEnvironment = !defaults.empty();
    defaults.push_back({std::string(), nullptr});
    if (!fromEnvironment)
        for (const std::string& folder : sources.systemFolders) defaults.push_back(folderEntry(folder, true));
    if (!sources.moduleFonts.empty()) defaults.push_back(folderEntry(sources.moduleFonts, false));

    const std::string& custom = sources.customPath;
    if (custom.empty()) return defaults;
    static const std::string kToken = "%PATH%";
    size_t token = custom.find(kToken);
    std::vector<FontSearchEntry> out;
    addFolders(out, custom.substr(0, token));
    if (token != std::string::npos) {
        out.insert(out.end(), defaults.begin(), defaults.end());
        size_t after = token + kToken.size();
        if (after < custom.size() && (custom[after] == ':' || custom[after] == ';')) ++after;
        addFolders(out, custom.substr(after));
    }
    return out;
}

bool confinedFontPath(const std::string& customPath) {
    return !customPath.empty() && customPath.find("%PATH%") == std::string::npos;
}

FontPathSources currentFontPathSources() {
    FontPathSources s;
    s.customPath = customFontPath();
    if (const char* env = std::getenv("FONTPATH")) s.fontPathEnv = env;
    s.systemFolders = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME"); home && *home) s.systemFolders.push_back(std::string(home) + "/.fonts");
    std::string module = moduleDirectory();
    if (!module.empty()) s.moduleFonts = module + "/fonts";
    return s;
}

void setCustomFontPath(const char* path) { customPathStorage() = path ? path : ""; }

const std::string& customFontPath() { return customPathStorage(); }

}  // namespace plotvane
