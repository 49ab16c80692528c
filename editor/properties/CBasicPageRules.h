#pragma once
// What the "Basic" page does to the values it shows and takes, apart from
// any widget: the limits of scale and alpha, the colour's byte form, the
// fill mode's names and the split of a texture path into the folder kept
// by the page and the file name shown.

#include <QColor>
#include <QString>
#include <QStringList>

#include "objects/ObjectTypes.h"
#include "platform/d3d8/d3d8.h"

class CBasicPageRules {
public:
    static constexpr float kSmallestScale = 0.00001f;

    // Values below the smallest scale (0 and negatives too) become it.
    static float ClampScale(float scale);
    static float ClampAlpha(float alpha);

    // A colour component as the colour dialog takes it: component × 256,
    // truncated, within 0 .. 255 (1.0 gives 255).
    static int ColorByte(float component);
    // The way back: b / 256, so 255 gives 0.99609375.
    static float ByteComponent(int byte);
    // The colour of a swatch or of the dialog's start, alpha left out.
    static QColor ToQColor(const D3DCOLORVALUE& color);
    // The dialog's choice with the page's alpha.
    static D3DCOLORVALUE FromQColor(const QColor& color, float alpha);

    // The fill modes in the order the combo box lists them (sorted).
    static const QStringList& FillModeNames();
    static int FillModeIndex(TFillMode mode);
    static TFillMode FillModeAt(int index);

    // Splits at the last "/" or "\": the folder keeps its separator, so that
    // folder + file is the path again.
    static void SplitPath(const QString& path, QString& folder, QString& file);
};
