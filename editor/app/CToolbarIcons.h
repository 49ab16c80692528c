#pragma once
// The pictures of the frame's own toolbar buttons (new, open, save, the
// scene camera and the user camera), drawn by code in a 24 x 24 space and
// held at 16, 24 and 32 pixels. The creation buttons use the object
// pictures of CObjectIcons. User-interface thread only.

#include <QIcon>
#include <QPixmap>

class QPainter;

class CToolbarIcons {
public:
    enum class EPicture {
        NewScene,
        OpenScene,
        SaveScene,
        SceneCamera,
        UserCamera,
    };

    static QIcon Icon(EPicture picture);
    static QPixmap Draw(EPicture picture, int size);

private:
    static void PaintNewScene(QPainter& painter);
    static void PaintOpenScene(QPainter& painter);
    static void PaintSaveScene(QPainter& painter);
    static void PaintSceneCamera(QPainter& painter);
    static void PaintUserCamera(QPainter& painter);
};
