#ifndef PLOTVANE_TEXT_FONTCONFIGLOOKUP_P_H
#define PLOTVANE_TEXT_FONTCONFIGLOOKUP_P_H

#include <map>
#include <memory>
#include <string>
#include <utility>

struct _FcConfig;

namespace plotvane {

// Asks the system's font configuration which file serves a family and style. Used only after a
// name was not found as a file, in place of the system font suitcases other platforms fall back
// on; the configuration is loaded on the first question and every answer is kept.
//
// Most charts never ask, so the fontconfig library itself (with expat) is opened only then: it
// would add a tenth of a millisecond to the start of every program. It is opened by the name of
// the library the build was configured with; where that cannot be opened, there are no answers.
class FontConfigLookup {
public:
    struct Answer {
        std::string path;  // empty: no answer
        int index = 0;
        int style = 0;  // 1 bold, 2 italic: what the file really is
        std::string family;  // the family that answered, which may stand in for the one asked for
        bool sameFamily = false;  // the file's family is the one asked for, not a stand-in
    };

    FontConfigLookup();
    // With the fontconfig library at another path (for tests).
    explicit FontConfigLookup(std::string library);
    ~FontConfigLookup();
    FontConfigLookup(const FontConfigLookup&) = delete;
    FontConfigLookup& operator=(const FontConfigLookup&) = delete;

    // style: 1 bold, 2 italic.
    const Answer& find(const std::string& family, int style);
    // A font that has the character, in the style where one is; no answer when no font has it.
    const Answer& findCovering(int ch, int style);
    // Whether the configuration has been loaded (it costs milliseconds), or failed to load.
    bool loaded() const { return loaded_; }
    const std::string& library() const { return library_; }

private:
    struct Functions;
    // By family (when not empty) and, when ch is not negative, by having that character.
    Answer match(const std::string& family, int style, int ch = -1);
    std::string library_;
    std::unique_ptr<Functions> fc_;  // null until loaded, and where the library cannot be opened
    _FcConfig* config_ = nullptr;
    bool loaded_ = false;
    std::map<std::pair<std::string, int>, Answer> answers_;
    std::map<std::pair<int, int>, Answer> covering_;
};

}  // namespace plotvane

#endif
