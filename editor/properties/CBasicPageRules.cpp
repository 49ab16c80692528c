#include "properties/CBasicPageRules.h"

#include <algorithm>

float CBasicPageRules::ClampScale(float scale) {
    return scale < kSmallestScale ? kSmallestScale : scale;
}

float CBasicPageRules::ClampAlpha(float alpha) {
    return std::clamp(alpha, 0.0f, 1.0f);
}

int CBasicPageRules::ColorByte(float component) {
    const double scaled = static_cast<double>(component) * 256.0;
    if (!(scaled > 0.0)) {
        return 0;  // negatives and not-a-number
    }
    return scaled >= 255.0 ? 255 : static_cast<int>(scaled);
}

float CBasicPageRules::ByteComponent(int byte) {
    return static_cast<float>(byte) * 0.00390625f;
}

QColor CBasicPageRules::ToQColor(const D3DCOLORVALUE& color) {
    return QColor(ColorByte(color.r), ColorByte(color.g), ColorByte(color.b));
}

D3DCOLORVALUE CBasicPageRules::FromQColor(const QColor& color, float alpha) {
    return D3DCOLORVALUE{ByteComponent(color.red()), ByteComponent(color.green()), ByteComponent(color.blue()), alpha};
}

const QStringList& CBasicPageRules::FillModeNames() {
    static const QStringList names = {"Dot", "Plain", "Wireframe"};
    return names;
}

int CBasicPageRules::FillModeIndex(TFillMode mode) {
    switch (mode) {
    case FM_POINT:
        return 0;
    case FM_WIREFRAME:
        return 2;
    default:
        return 1;
    }
}

TFillMode CBasicPageRules::FillModeAt(int index) {
    switch (index) {
    case 0:
        return FM_POINT;
    case 2:
        return FM_WIREFRAME;
    default:
        return FM_SOLID;
    }
}

void CBasicPageRules::SplitPath(const QString& path, QString& folder, QString& file) {
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1;
    folder = path.left(cut);
    file = path.mid(cut);
}
