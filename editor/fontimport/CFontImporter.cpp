#include "fontimport/CFontImporter.h"

#include "fontimport/CBnfWriter.h"
#include "platform/files/CAtomicFile.h"
#include "platform/files/CPngWriter.h"

namespace {

constexpr std::string_view kDescriptorExtension = ".bnf";
constexpr std::string_view kImageExtension = ".png";

SFontImportResult SaveFailure(const std::string& reason) {
    return SFontImportResult::Failure("The font cannot be saved. " + reason);
}

bool WriteAll(CAtomicFile& file, const void* data, std::size_t size) {
    return file.Write(data, size) && file.Finish();
}

}  // namespace

SFontImportResult CFontImporter::Build() {
    return m_bitmaps.Build(m_settings);
}

SFontImportResult CFontImporter::Save(const std::string& chosenPath) const {
    if (!m_bitmaps.IsBuilt()) {
        return SaveFailure("There is no font to save yet.");
    }
    if (chosenPath.empty()) {
        return SaveFailure("No file name is given.");
    }
    const std::string descriptorPath = DescriptorPathFor(chosenPath);
    const std::string imagePath = ImagePathFor(descriptorPath);

    // A texture without its alpha channel is still saved (it shows the
    // glyph cells as solid blocks), and the result says so.
    SFontImportResult result;
    std::vector<std::uint8_t> texture;
    result.alphaLost = !m_bitmaps.ComposeTexture(texture);
    CPngWriter png;
    if (!png.Encode(m_bitmaps.GetSize(), m_bitmaps.GetSize(), texture)) {
        return SaveFailure(png.GetError());
    }
    const std::string descriptor = FormatDescriptor(m_bitmaps);

    // Both files are written completely before either replaces its target.
    CAtomicFile image(imagePath);
    if (!image.Open() || !WriteAll(image, png.GetBytes().data(), png.GetBytes().size())) {
        return SaveFailure(image.GetError());
    }
    CAtomicFile text(descriptorPath);
    if (!text.Open()) {
        return SaveFailure(text.GetError());
    }
    if (!WriteAll(text, descriptor.data(), descriptor.size())) {
        return SaveFailure(text.GetError());
    }
    if (!image.Publish()) {
        return SaveFailure(image.GetError());
    }
    if (!text.Publish()) {
        return SaveFailure(text.GetError());
    }
    return result;
}

std::string CFontImporter::DescriptorPathFor(const std::string& chosenPath) {
    if (chosenPath.ends_with(kDescriptorExtension)) {
        return chosenPath;
    }
    return chosenPath + std::string(kDescriptorExtension);
}

std::string CFontImporter::ImagePathFor(const std::string& descriptorPath) {
    const std::size_t stemLength =
        descriptorPath.size() >= kImageExtension.size() ? descriptorPath.size() - kImageExtension.size() : 0;
    return descriptorPath.substr(0, stemLength) + std::string(kImageExtension);
}

std::string CFontImporter::FormatDescriptor(const CFontBitmaps& bitmaps) {
    CBnfWriter writer;
    for (char character : bitmaps.GetCharacters()) {
        writer.AddLine(character, bitmaps.GetCell(static_cast<unsigned char>(character)));
    }
    return writer.GetText();
}
