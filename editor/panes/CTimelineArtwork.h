#pragma once
// The timeline's pictures, drawn by code: the tile of the ruler's scale
// band and the images of the six playback buttons.
//
// The tile shows five seconds at 80 pixels a second: a long mark where the
// five seconds begin, a mark each second, shorter ones each half and tenth
// of a second. The ruler stretches it to the zoom (factor zoom x 0.0125) so
// that its marks stay on the scale.

#include <QIcon>
#include <QPixmap>
#include <QSize>

class CTimelineArtwork {
public:
    static constexpr int kTileWidth = 400;
    static constexpr int kTileHeight = 10;
    static constexpr float kTileSeconds = 5.0f;
    // The buttons' images, drawn on a transparent ground.
    static constexpr QSize kButtonImageSize{17, 12};

    enum EButtonImage {
        kFastReverseImage,
        kReverseImage,
        kStopImage,
        kPauseImage,
        kPlayImage,
        kFastForwardImage,
    };

    static QPixmap RulerTile();
    static QIcon ButtonImage(EButtonImage image);
};
