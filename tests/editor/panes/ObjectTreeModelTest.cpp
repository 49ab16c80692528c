// The object list's model on its own: where each class of object goes,
// the order inside a category, lookups by name, and the model contract
// checked by Qt's model tester through resets and insertions.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QStringList>

#include "common/QtTestApplication.h"
#include "panes/CObjectPlacement.h"
#include "panes/CObjectTreeModel.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// Fails the test on every complaint of the model tester (it reports them as
// Qt warnings in this mode).
class CModelComplaints {
public:
    CModelComplaints() {
        s_Complaints.clear();
        m_Previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                s_Complaints.push_back(text);
        });
    }
    ~CModelComplaints() { qInstallMessageHandler(m_Previous); }
    const QStringList& Texts() const { return s_Complaints; }

private:
    static inline QStringList s_Complaints;
    QtMessageHandler m_Previous;
};

QStringList Children(const CObjectTreeModel& model, const QModelIndex& parent) {
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names.push_back(model.data(model.index(row, 0, parent)).toString());
    return names;
}

QStringList Category(const CObjectTreeModel& model, const char* name) {
    const int category = static_cast<int>(CObjectPlacement::CategoryNames().indexOf(name));
    return Children(model, model.CategoryIndex(category));
}

class ObjectTreeModel : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }
};

}  // namespace

// ---------------------------------------------------------------- placement

TEST_F(ObjectTreeModel, AnEmptySceneShowsTheSixCategoriesInOrder) {
    CObjectTreeModel model;
    model.Reset({});
    EXPECT_THAT(Children(model, QModelIndex()),
                ElementsAre("Primitives", "Meshes", "Bitmaps", "Fonts", "Terrains", "Cameras"));
    for (int category = 0; category < 6; ++category)
        EXPECT_TRUE(model.IsCategory(model.CategoryIndex(category)));
    EXPECT_FALSE(model.LastAppended().isValid());
}

TEST_F(ObjectTreeModel, EachClassGoesToItsCategory) {
    CObjectTreeModel model;
    model.Reset({{"box", "CBoxObject"},
                 {"ball", "CSphereObject"},
                 {"tube", "CCylinderObject"},
                 {"ring", "CTorusObject"},
                 {"statue", "CFileMeshObject"},
                 {"wave", "CAnimFileMeshObject"},
                 {"picture", "CPlaneObject"},
                 {"title", "CBmpFonts"},
                 {"hills", "CHeightMapObject"},
                 {"eye", "CCameraTrajectoryObject"}});
    EXPECT_THAT(Category(model, "Primitives"), ElementsAre("box", "ball", "tube", "ring"));
    EXPECT_THAT(Category(model, "Meshes"), ElementsAre("statue", "wave"));
    EXPECT_THAT(Category(model, "Bitmaps"), ElementsAre("picture"));
    EXPECT_THAT(Category(model, "Fonts"), ElementsAre("title"));
    EXPECT_THAT(Category(model, "Terrains"), ElementsAre("hills"));
    EXPECT_THAT(Category(model, "Cameras"), ElementsAre("eye"));
    EXPECT_EQ(model.rowCount(), 6);
}

TEST_F(ObjectTreeModel, TrajectoriesSitAtTheRootAfterTheCategoriesAndOtherClassesAreLeftOut) {
    CObjectTreeModel model;
    model.Reset({{"path", "CTrajectoryObject"},
                 {"flare", "CLensFlare"},
                 {"sparks", "CParticleSystem"},
                 {"path 2", "CTrajectoryObject"},
                 {"", ""}});
    EXPECT_THAT(Children(model, QModelIndex()),
                ElementsAre("Primitives", "Meshes", "Bitmaps", "Fonts", "Terrains", "Cameras", "path", "path 2"));
    const QModelIndex path = model.Find("path");
    EXPECT_FALSE(model.IsCategory(path));
    EXPECT_EQ(model.CategoryOf(path), -1);
    EXPECT_EQ(model.ObjectName(path), "path");
    EXPECT_FALSE(model.Find("flare").isValid());
}

// ---------------------------------------------------------------- lookups

TEST_F(ObjectTreeModel, TheLastAppendedItemIsTheLastObjectShownNotTheLastObjectGiven) {
    CObjectTreeModel model;
    model.Reset({{"box", "CBoxObject"}, {"eye", "CCameraTrajectoryObject"}, {"flare", "CLensFlare"}});
    EXPECT_EQ(model.ObjectName(model.LastAppended()), "eye");
}

TEST_F(ObjectTreeModel, NamesAreFoundInEveryCategoryAndCategoriesAreNotObjects) {
    CObjectTreeModel model;
    model.Reset({{"Cameras", "CBoxObject"}, {"eye", "CCameraTrajectoryObject"}});
    // An object may be called like a category: the object is found.
    const QModelIndex box = model.Find("Cameras");
    ASSERT_TRUE(box.isValid());
    EXPECT_EQ(model.CategoryOf(box), 0);
    EXPECT_EQ(model.CategoryOf(model.Find("eye")), CObjectPlacement::kCameras);
    EXPECT_EQ(model.ObjectName(model.CategoryIndex(CObjectPlacement::kCameras)), "");
    EXPECT_FALSE(model.Find("nobody").isValid());
}

TEST_F(ObjectTreeModel, AResetForgetsTheObjectsBefore) {
    CObjectTreeModel model;
    model.Reset({{"box", "CBoxObject"}, {"path", "CTrajectoryObject"}});
    model.Reset({{"ball", "CSphereObject"}});
    EXPECT_FALSE(model.Find("box").isValid());
    EXPECT_FALSE(model.Find("path").isValid());
    EXPECT_EQ(model.rowCount(), 6);
    EXPECT_THAT(Category(model, "Primitives"), ElementsAre("ball"));
}

// ---------------------------------------------------------------- the Qt contract

TEST_F(ObjectTreeModel, KeepsTheModelContractThroughResetsAndInsertions) {
    CModelComplaints complaints;
    CObjectTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.Reset({{"box", "CBoxObject"}, {"eye", "CCameraTrajectoryObject"}, {"path", "CTrajectoryObject"}});
    const QModelIndex added = model.Append({"ball", "CSphereObject"});
    EXPECT_EQ(model.ObjectName(added), "ball");
    EXPECT_EQ(added.row(), 1);
    EXPECT_EQ(model.Append({"path 2", "CTrajectoryObject"}).row(), 7);  // after "path"
    EXPECT_FALSE(model.Append({"flare", "CLensFlare"}).isValid());
    model.Reset({});
    model.Append({"eye 2", "CCameraTrajectoryObject"});
    EXPECT_THAT(complaints.Texts(), IsEmpty());
}
