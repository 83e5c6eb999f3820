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

FontConfigLookup::Answer FontConfigLookup::match(const std::string& family, int style) {
    Answer answer;
    if (!loaded_) {
        loaded_ = true;
        config_ = FcInitLoadConfigAndFonts();
    }
    if (!config_) return answer;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return answer;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, (style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config_, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found) return answer;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
        answer.path = reinterpret_cast<const char*>(file);
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(found, FC_INDEX, 0, &index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        answer.index = index;
        answer.style = (weight >= FC_WEIGHT_DEMIBOLD ? 1 : 0) | (slant != FC_SLANT_ROMAN ? 2 : 0);
        FcChar8* name = nullptr;
        for (int k = 0; !answer.sameFamily && FcPatternGetString(found, FC_FAMILY, k, &name) == FcResultMatch; ++k)
            answer.sameFamily = name && toLowerAscii(reinterpret_cast<const char*>(name)) == toLowerAscii(family);
    }
    FcPatternDestroy(found);
    return answer;
}

}  // namespace plotvane
