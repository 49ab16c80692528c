// Feeds arbitrary bytes to the ".bnf" font descriptor readers: as the copy a
// scene file carries, and as a file on disk. Damaged lines must be skipped,
// never crash, read outside the data or leave a cell that is not a finite
// number.

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "objects/CBmpFonts.h"

namespace {

void CheckCells(const CBmpFonts& font) {
    for (int c = 0; c < 256; ++c) {
        const CBmpFonts::SGlyph& glyph = font.GetGlyph(static_cast<unsigned char>(c));
        if (!std::isfinite(glyph.left) || !std::isfinite(glyph.top) || !std::isfinite(glyph.right) ||
            !std::isfinite(glyph.bottom)) {
            __builtin_trap();
        }
    }
}

const std::string& DiskCopy() {
    static const std::string path = "/tmp/fuzz_bnf_descriptor_" + std::to_string(::getpid()) + ".bnf";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static CBmpFonts* font = new CBmpFonts();  // lives for the whole run
    font->ReadDescriptor(data, size);
    CheckCells(*font);

    if (FILE* file = std::fopen(DiskCopy().c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        font->ReadDescriptorFile(DiskCopy());
        CheckCells(*font);
    }
    return 0;
}
