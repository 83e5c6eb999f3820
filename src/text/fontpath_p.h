#ifndef PLOTVANE_TEXT_FONTPATH_P_H
#define PLOTVANE_TEXT_FONTPATH_P_H

// Where font files are looked for. The search path is a list of directory prefixes. Names are
// tried as they stand first, in each folder and, for the system font folders, in the sub-folders
// where distributions install their font packages. Only a name found in none of those is looked
// up in an index of the folder's file names, built on first need, which matches without regard to
// case (as the file systems fonts usually come from do) and, for the system font folders, reaches
// into every sub-folder.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plotvane {

// The file names in one folder (and its sub-folders, for a tree), gathered on the first lookup;
// the first file found wins.
class FontFolderIndex {
public:
    FontFolderIndex(std::string root, bool tree) : root_(std::move(root)), tree_(tree) {}
    // Full path of the file called name (in any case), or null.
    const std::string* find(const std::string& name);
    // For a tree, the usual package sub-folders (each ending in "/") that exist, newest first so a
    // direct hit is the file find() would give; looked for once.
    const std::vector<std::string>& packageFolders();
    // Whether the folder exists, looked at once like the package folders: a font folder that is
    // missing (a home without ~/.fonts, a library without fonts beside it) then costs nothing per
    // font name tried.
    bool present();

private:
    void scan(const std::string& dir, int depth);
    std::string root_;
    bool tree_;
    bool scanned_ = false;
    bool probed_ = false;
    int present_ = -1;  // not looked at yet
    std::map<std::string, std::string> files_;
    std::vector<std::string> packageFolders_;
};

struct FontSearchEntry {
    std::string prefix;  // ends in "/" or "\\"; empty: the name as it stands, no index
    std::shared_ptr<FontFolderIndex> index;
};

// Splits at the next ";", or at the next ":" where no ";" follows; empty entries are dropped and
// each entry gets a trailing "/".
std::vector<std::string> splitFontPath(const std::string& path);

struct FontPathSources {
    std::string customPath;  // as the program set it
    std::string fontPathEnv;  // FONTPATH
    std::vector<std::string> systemFolders;  // searched with their sub-folders
    std::string moduleFonts;  // the library's own fonts folder
};

std::vector<FontSearchEntry> buildSearchPath(const FontPathSources& sources);
// Whether the program's path leaves the system's fonts out (it does unless it holds "%PATH%").
bool confinedFontPath(const std::string& customPath);

// The sources of this process: the program's path, the environment, the system font folders and
// the folder beside the library's file.
FontPathSources currentFontPathSources();

// The program's own search path (guarded by the text lock).
void setCustomFontPath(const char* path);
const std::string& customFontPath();

}  // namespace plotvane

#endif
