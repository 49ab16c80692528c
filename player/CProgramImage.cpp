#include "CProgramImage.h"

#include <filesystem>

std::string CProgramImage::DisplayName() {
    std::error_code error;
    const std::filesystem::path image = std::filesystem::read_symlink(ImagePath(), error);
    return error ? std::string() : image.string();
}

std::string CProgramImage::DisplayName(const std::string& startedAs) {
    const std::string image = DisplayName();
    if (!image.empty() || startedAs.empty())
        return image;
    // A name without a slash was found on PATH; it is shown as it was typed.
    if (startedAs.find('/') == std::string::npos)
        return startedAs;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(startedAs, error);
    return error ? startedAs : absolute.lexically_normal().string();
}
