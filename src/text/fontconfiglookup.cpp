#include "text/fontconfiglookup_p.h"

#include "foundation/ondemand_p.h"
#include "text/fontspec_p.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace plotvane {

// The library's functions this file calls, taken from the library once it is opened.
#define PLOTVANE_FONTCONFIG_FUNCTIONS(F) \
    F(FcInitLoadConfigAndFonts) \
    F(FcConfigDestroy) \
    F(FcConfigSubstitute) \
    F(FcDefaultSubstitute) \
    F(FcFontMatch) \
    F(FcPatternCreate) \
    F(FcPatternDestroy) \
    F(FcPatternAddString) \
    F(FcPatternAddInteger) \
    F(FcPatternAddBool) \
    F(FcPatternAddCharSet) \
    F(FcPatternGetString) \
    F(FcPatternGetInteger) \
    F(FcPatternGetCharSet) \
    F(FcCharSetCreate) \
    F(FcCharSetDestroy) \
    F(FcCharSetAddChar) \
    F(FcCharSetHasChar)
struct FontConfigLookup::Functions {
    PLOTVANE_FONTCONFIG_FUNCTIONS(PLOTVANE_ONDEMAND_MEMBER)

    // Null when the library or one of its functions is missing.
    static std::unique_ptr<Functions> open(const std::string& file) {
        OnDemandLibrary library(file.c_str());
        auto table = std::make_unique<Functions>();
        PLOTVANE_FONTCONFIG_FUNCTIONS(PLOTVANE_ONDEMAND_TAKE)
        if (!library.complete()) return nullptr;
        return table;
    }
};

FontConfigLookup::FontConfigLookup() : library_(PLOTVANE_FONTCONFIG_LIBRARY) {}

FontConfigLookup::FontConfigLookup(std::string library) : library_(std::move(library)) {}

FontConfigLookup::~FontConfigLookup() {
    if (config_) fc_->FcConfigDestroy(config_);
}

const FontConfigLookup::Answer& FontConfigLookup::find(const std::string& family, int style) {
    auto key = std::make_pair(toLowerAscii(family), style & 3);
    auto it = answers_.find(key);
    if (it == answers_.end()) it = answers_.emplace(key, match(family, style & 3)).first;
    return it->second;
}

const FontConfigLookup::Answer& FontConfigLookup::findCovering(int ch, int style) {
    auto key = std::make_pair(ch, style & 3);
    auto it = covering_.find(key);
    if (it == covering_.end()) it = covering_.emplace(key, match(std::string(), style & 3, ch)).first;
    return it->second;
}

FontConfigLookup::Answer FontConfigLookup::match(const std::string& family, int style, int ch) {
    Answer answer;
    if (!loaded_) {
        loaded_ = true;
        fc_ = Functions::open(library_);
        if (fc_) config_ = fc_->FcInitLoadConfigAndFonts();
    }
    if (!config_) return answer;
    const Functions& fc = *fc_;
    FcPattern* pattern = fc.FcPatternCreate();
    if (!pattern) return answer;
    if (!family.empty()) fc.FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (ch >= 0) {
        FcCharSet* wanted = fc.FcCharSetCreate();
        if (wanted) {
            fc.FcCharSetAddChar(wanted, static_cast<FcChar32>(ch));
            fc.FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
            fc.FcCharSetDestroy(wanted);
        }
    }
    fc.FcPatternAddInteger(pattern, FC_WEIGHT, (style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    fc.FcPatternAddInteger(pattern, FC_SLANT, (style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    fc.FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    fc.FcConfigSubstitute(config_, pattern, FcMatchPattern);
    fc.FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = fc.FcFontMatch(config_, pattern, &result);
    fc.FcPatternDestroy(pattern);
    if (!found) return answer;
    // The best match need not have the character after all, when no font has it.
    FcCharSet* has = nullptr;
    if (ch >= 0 && (fc.FcPatternGetCharSet(found, FC_CHARSET, 0, &has) != FcResultMatch || !has ||
                    !fc.FcCharSetHasChar(has, static_cast<FcChar32>(ch)))) {
        fc.FcPatternDestroy(found);
        return answer;
    }
    FcChar8* file = nullptr;
    if (fc.FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
        answer.path = reinterpret_cast<const char*>(file);
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        fc.FcPatternGetInteger(found, FC_INDEX, 0, &index);
        fc.FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
        fc.FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        answer.index = index;
        // A font has a family name per language; the one asked for, if it is among them.
        FcChar8* foundFamily = nullptr;
        for (int n = 0; fc.FcPatternGetString(found, FC_FAMILY, n, &foundFamily) == FcResultMatch && foundFamily; ++n) {
            std::string name = reinterpret_cast<const char*>(foundFamily);
            if (n == 0 || toLowerAscii(name) == toLowerAscii(family)) answer.family = name;
        }
        answer.style = (weight >= FC_WEIGHT_DEMIBOLD ? 1 : 0) | (slant != FC_SLANT_ROMAN ? 2 : 0);
        FcChar8* name = nullptr;
        for (int k = 0; !answer.sameFamily && fc.FcPatternGetString(found, FC_FAMILY, k, &name) == FcResultMatch; ++k)
            answer.sameFamily = name && toLowerAscii(reinterpret_cast<const char*>(name)) == toLowerAscii(family);
    }
    fc.FcPatternDestroy(found);
    return answer;
}

}  // namespace plotvane
