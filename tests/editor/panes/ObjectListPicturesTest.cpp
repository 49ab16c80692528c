// Pictures of the object list and the creation dialog as the user sees
// them, kept under the build's screenshots folder for people to look at.

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QPixmap>

#include "EditorSceneFixture.h"
#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "controls/CObjectIcons.h"
#include "dialogs/CCreateObjectDialog.h"
#include "objects/CBoxObject.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "panes/CObjectListPane.h"

namespace {

class ObjectListPictures : public EditorSceneFixture {
protected:
    static QString PathOf(const char* name) {
        QDir().mkpath(LVX_SCREENSHOT_DIR);
        return QDir(LVX_SCREENSHOT_DIR).filePath(name);
    }
    static void Keep(QWidget& widget, const char* name) {
        const QPixmap picture = widget.grab();
        ASSERT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(PathOf(name)));
    }
};

}  // namespace

TEST_F(ObjectListPictures, ThePaneWithOneObjectOfEachCategory) {
    Add<CCameraTrajectoryObject>("Main Camera");
    Add<CBoxObject>("crate");
    Add<CSphereObject>("ball");
    Add<CPlaneObject>("poster");
    Add<CHeightMapObject>("hills");
    Add<CTrajectoryObject>("flight path");
    CObjectListPane pane(m_document);
    pane.resize(190, 360);
    pane.Rebuild(false, false);
    pane.SelectByName("ball");
    pane.show();
    Keep(pane, "object-list.png");
}

TEST_F(ObjectListPictures, TheCreationDialog) {
    CCreateObjectDialog dialog(Scene());
    dialog.show();
    Keep(dialog, "create-object-dialog.png");
}

TEST_F(ObjectListPictures, TheObjectIconsAtTheirThreeSizes) {
    const QStringList types = {"CBoxObject",       "CSphereObject",           "CCylinderObject",     "CTorusObject",
                               "CPlaneObject",     "CFileMeshObject",         "CAnimFileMeshObject", "CBmpFonts",
                               "CHeightMapObject", "CCameraTrajectoryObject", "CTrajectoryObject",   "CUnknown"};
    QPixmap sheet(8 + 40 * (types.size() + 1), 8 + 3 * 40);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int column = 0; column <= types.size(); ++column) {
        const QIcon icon = column < types.size() ? CObjectIcons::ForType(types[column]) : CObjectIcons::Category();
        int row = 0;
        for (int size : CObjectIcons::kSizes)
            painter.drawPixmap(8 + 40 * column, 8 + 40 * row++, icon.pixmap(size, size));
    }
    painter.end();
    EXPECT_TRUE(sheet.save(PathOf("object-icons.png")));
}
