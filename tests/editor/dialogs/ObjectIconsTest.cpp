// The pictures of the object types: three sizes in every icon, a picture of
// its own for each type, drawn on a transparent ground, and the plain
// picture for classes without one.

#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include "common/QtTestApplication.h"
#include "controls/CObjectIcons.h"

namespace {

const QStringList kTypes = {"CBoxObject",       "CSphereObject",           "CCylinderObject",     "CTorusObject",
                            "CPlaneObject",     "CFileMeshObject",         "CAnimFileMeshObject", "CBmpFonts",
                            "CHeightMapObject", "CCameraTrajectoryObject", "CTrajectoryObject"};

QImage Picture(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Share of the pixels that are drawn at all.
double Coverage(const QImage& image) {
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return static_cast<double>(drawn) / (image.width() * image.height());
}

class ObjectIcons : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }
};

}  // namespace

TEST_F(ObjectIcons, EveryIconHoldsThe16And24And32PixelPictures) {
    QList<QIcon> icons = {CObjectIcons::Category(), CObjectIcons::ForType("CSomethingElse")};
    for (const QString& type : kTypes)
        icons.push_back(CObjectIcons::ForType(type));
    for (const QIcon& icon : icons) {
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(24, 24)));
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
        EXPECT_EQ(Picture(icon, 24).size(), QSize(24, 24));
    }
}

TEST_F(ObjectIcons, EachTypeIsDrawnOnATransparentGroundAtEverySize) {
    for (const QString& type : kTypes) {
        for (int size : {16, 24, 32}) {
            const double coverage = Coverage(Picture(CObjectIcons::ForType(type), size));
            EXPECT_GT(coverage, 0.15) << type.toStdString() << " at " << size;
            EXPECT_LT(coverage, 0.95) << type.toStdString() << " at " << size;
        }
    }
}

TEST_F(ObjectIcons, NoTwoTypesShareAPicture) {
    QList<QImage> pictures;
    QStringList drawings = kTypes;
    for (const QString& type : kTypes)
        pictures.push_back(Picture(CObjectIcons::ForType(type), 32));
    pictures.push_back(Picture(CObjectIcons::Category(), 32));
    pictures.push_back(Picture(CObjectIcons::ForType("CSomethingElse"), 32));
    drawings << "category"
             << "unknown";
    for (int a = 0; a < pictures.size(); ++a)
        for (int b = a + 1; b < pictures.size(); ++b)
            EXPECT_NE(pictures[a], pictures[b]) << drawings[a].toStdString() << " and " << drawings[b].toStdString();
}

TEST_F(ObjectIcons, AClassWithoutAPictureOfItsOwnGetsThePlainOneEvenWhenNamedLikeTheFolder) {
    const QImage plain = Picture(CObjectIcons::ForType("CLensFlare"), 32);
    EXPECT_EQ(Picture(CObjectIcons::ForType("CParticleSystem"), 32), plain);
    EXPECT_EQ(Picture(CObjectIcons::ForType("category"), 32), plain);
    EXPECT_NE(Picture(CObjectIcons::Category(), 32), plain);
}
