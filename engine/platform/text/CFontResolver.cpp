#include "platform/text/CFontResolver.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

std::string ReadString(const FcPattern* pattern, const char* property) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, property, 0, &value) != FcResultMatch || !value) {
        return {};
    }
    return reinterpret_cast<const char*>(value);
}

int ReadInteger(const FcPattern* pattern, const char* property, int fallback) {
    int value = 0;
    return FcPatternGetInteger(pattern, property, 0, &value) == FcResultMatch ? value : fallback;
}

}  // namespace

bool CFontResolver::Resolve(const std::string& faceName, int weight, bool italic, SFontFace& face) {
    // Older fontconfig releases are not safe to initialise from two threads.
    static std::mutex fontconfigMutex;
    std::lock_guard lock(fontconfigMutex);
    if (!FcInit()) {
        return false;
    }
    const int fcWeight = FcWeightFromOpenType(weight > 0 ? weight : 400);
    PatternPtr pattern(FcPatternBuild(nullptr, FC_FAMILY, FcTypeString,
                                      reinterpret_cast<const FcChar8*>(faceName.c_str()), FC_WEIGHT, FcTypeInteger,
                                      fcWeight, FC_SLANT, FcTypeInteger, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN,
                                      FC_SCALABLE, FcTypeBool, FcTrue, static_cast<char*>(nullptr)));
    if (!pattern) {
        return false;
    }
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) {
        return false;
    }
    face.file = ReadString(match.get(), FC_FILE);
    if (face.file.empty()) {
        return false;
    }
    face.index = ReadInteger(match.get(), FC_INDEX, 0);
    face.family = ReadString(match.get(), FC_FAMILY);
    face.style = ReadString(match.get(), FC_STYLE);
    // Where the family lacks the weight or slant asked for, fontconfig's
    // synthetic rules report them anyway and ask for emboldening or a slant
    // matrix instead: such a face is not bold or italic by design.
    FcBool embolden = FcFalse;
    FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
    FcMatrix* slantMatrix = nullptr;
    const bool slanted = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &slantMatrix) == FcResultMatch && slantMatrix &&
                         slantMatrix->xy != 0;
    face.bold = ReadInteger(match.get(), FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD && !embolden;
    face.italic = ReadInteger(match.get(), FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN && !slanted;
    return true;
}
