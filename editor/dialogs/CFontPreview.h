#pragma once
// The preview area of the "Fonts Importer": the importer's preview bitmap
// (the glyphs in the text colour on the chosen background) stretched over
// the whole area, so that a 512-pixel texture shows at the same size as a
// 256-pixel one. Grey until a font is built.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

class CFontPreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSide = 386;  // pixels on screen, frame included, whatever the texture size

    explicit CFontPreview(QWidget* parent = nullptr);

    // size × size RGBA pixels, top row first; an empty vector clears the
    // preview.
    void SetPixels(const std::vector<std::uint8_t>& rgba, int size);
    const QImage& Image() const { return m_Image; }
    // Where the image is stretched to: inside the frame.
    QRect ImageArea() const { return rect().adjusted(1, 1, -1, -1); }

    QSize sizeHint() const override { return {kSide, kSide}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_Image;
};
