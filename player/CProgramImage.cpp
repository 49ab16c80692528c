#include "CProgramImage.h"

#include <filesystem>

std::string CProgramImage::DisplayName() {
    std::error_code error;
    const std::filesystem::path image = std::filesystem::read_symlink(ImagePath(), error);
    return error ? std::string() : image.string();
}
