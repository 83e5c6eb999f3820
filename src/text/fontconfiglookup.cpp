#include "text/fontconfiglookup_p.h"

#include "text/fontspec_p.h"

#include <fontconfig/fontconfig.h>

namespace plotvane {

FontConfigLookup::~FontConfigLookup() {
    if (config_) FcConfigDestroy(config_);
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
        config_ = FcInitLoadConfigAndFonts();
    }
    if (!config_) return answer;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return answer;
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (ch >= 0) {
        FcCharSet* wanted = FcCharSetCreate();
        if (wanted) {
            FcCharSetAddChar(wanted, static_cast<FcChar32>(ch));
            FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
            FcCharSetDestroy(wanted);
        }
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return answer;
    // The best match need not have the character after all, when no font has it.
    FcCharSet* has = nullptr;
    if (ch >= 0 && (FcPatternGetCharSet(found, FC_CHARSET, 0, &has) != FcResultMatch || !has ||
                    !FcCharSetHasChar(has, static_cast<FcChar32>(ch)))) {
        FcPatternDestroy(found);
        return answer;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
        answer.path = reinterpret_cast<const char*>(file);
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(found, FC_INDEX, 0, &index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        answer.index = index;
        // A font has a family name per language; the one asked for, if it is among them.
        FcChar8* foundFamily = nullptr;
        for (int n = 0; FcPatternGetString(found, FC_FAMILY, n, &foundFamily) == FcResultMatch && foundFamily; ++n) {
            std::string name = reinterpret_cast<const char*>(foundFamily);
            if (n == 0 || toLowerAscii(name) == toLowerAscii(family)) answer.family = name;
        }
        answer.style = (weight >= FC_WEIGHT_DEMIBOLD ? 1 : 0) | (slant != FC_SLANT_ROMAN ? 2 : 0);
        FcChar8* name = nullptr;
        for (int k = 0; !answer.sameFamily && FcPatternGetString(found, FC_FAMILY, k, &name) == FcResultMatch; ++k)
            answer.sameFamily = name && toLowerAscii(reinterpret_cast<const char*>(name)) == toLowerAscii(family);
    }
    FcPatternDestroy(found);
    return answer;
}

}  // namespace plotvane
