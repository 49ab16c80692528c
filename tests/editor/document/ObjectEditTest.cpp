// Edits of one object through the document: one undo step per edit, runs
// that merge, renames, keyframes, and the round trip that matters most: a
// long random mix of edits over every kind of object, all undone, gives the
// saved file back byte for byte, and all redone gives the edited one.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <fstream>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

#include "animation/CCameraTrajectoryObject.h"
#include "common/QtTestApplication.h"
#include "common/SceneObjects.h"
#include "document/CEditorDocument.h"
#include "objects/CBoxObject.h"
#include "objects/CCylinderObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

namespace {

class ObjectEditTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    template <class TObject>
    TObject& Add(const char* name) {
        return lvxtest::AddToScene<TObject>(m_document, name);
    }

    std::vector<char> SavedBytes(const char* name) {
        const std::string path = m_folder.Path(name);
        QString error;
        EXPECT_TRUE(m_document.SaveCopy(QString::fromStdString(path), &error)) << error.toStdString();
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    void SetAlpha(CBaseObject& object, float alpha, int run) {
        m_document.EditProperty(
            object, "Alpha", run, [](CBaseObject& o) { return o.GetAlpha(); },
            [](CBaseObject& o, float a) { o.SetAlpha(a); }, alpha);
    }

    int AddKey(CBaseObject& object, float time) {
        m_document.EditKeyFrames(object, "Add key", m_document.NewEditRun(), [time](CObjects& o) {
            auto& base = static_cast<CBaseObject&>(o);
            base.SetCurrentKeyFrame(base.AddKeyFrame(time));
        });
        return object.GetCurrentKeyFrame();
    }

    QUndoStack& Stack() { return m_document.UndoStack(); }

    CScreenStateGuard m_screenState;  // first: the scene's death still changes the screen's fog
    CTempFolder m_folder;
    CEditorDocument m_document;
};

// ------------------------------------------------------- one edit, one step

TEST_F(ObjectEditTest, AnEditIsOneNamedStepThatUndoPutsBack) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    const float before = box.GetAlpha();
    SetAlpha(box, 0.25f, m_document.NewEditRun());
    ASSERT_EQ(Stack().count(), 1);
    EXPECT_EQ(Stack().text(0), "Set Alpha of Box1");
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.25f);
    Stack().undo();
    EXPECT_EQ(box.GetAlpha(), before);
    Stack().redo();
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.25f);
}

TEST_F(ObjectEditTest, AnEditThatChangesNothingLeavesTheStackAlone) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    SetAlpha(box, box.GetAlpha(), m_document.NewEditRun());
    EXPECT_EQ(Stack().count(), 0);
}

TEST_F(ObjectEditTest, EditsOfOneRunMergeAndANewRunStartsAnotherStep) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    const float before = box.GetAlpha();
    const int clicks = m_document.NewEditRun();
    SetAlpha(box, 0.9f, clicks);
    SetAlpha(box, 0.8f, clicks);
    SetAlpha(box, 0.7f, clicks);
    ASSERT_EQ(Stack().count(), 1);
    SetAlpha(box, 0.5f, m_document.NewEditRun());
    ASSERT_EQ(Stack().count(), 2);

    Stack().undo();
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.7f);
    Stack().undo();
    EXPECT_EQ(box.GetAlpha(), before);
}

TEST_F(ObjectEditTest, EditsAreWrittenAtTheKeyFrameTheyWereMadeAtEvenAfterTheUserMovedOn) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    const int key = AddKey(box, 5.0f);
    SetAlpha(box, 0.5f, m_document.NewEditRun());
    box.SetCurrentKeyFrame(0);  // the user picked the first key meanwhile
    const float firstKeyAlpha = box.GetAlpha();

    Stack().undo();
    Stack().redo();
    EXPECT_EQ(box.GetCurrentKeyFrame(), key);
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.5f);
    box.SetCurrentKeyFrame(0);
    EXPECT_EQ(box.GetAlpha(), firstKeyAlpha);
}

TEST_F(ObjectEditTest, EveryEditTellsThePanesWhichObjectChanged) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    QSignalSpy edited(&m_document, &CEditorDocument::ObjectEdited);
    SetAlpha(box, 0.5f, m_document.NewEditRun());
    Stack().undo();
    Stack().redo();
    ASSERT_EQ(edited.count(), 3);
    EXPECT_EQ(edited.at(2).at(0).value<CObjects*>(), &box);
}

// ------------------------------------------------------------------ renames

TEST_F(ObjectEditTest, ARenameToAnEmptyOrTakenNameChangesNothing) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    Add<CBoxObject>("Box2");
    EXPECT_FALSE(m_document.RenameObject(box, ""));
    EXPECT_FALSE(m_document.RenameObject(box, "Box2"));
    EXPECT_FALSE(m_document.RenameObject(box, "Box1"));
    EXPECT_EQ(box.GetObjName(), "Box1");
    EXPECT_EQ(Stack().count(), 0);
}

TEST_F(ObjectEditTest, ARenameRebuildsTheListAndUndoBringsTheOldNameBack) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    QSignalSpy changed(&m_document, &CEditorDocument::ObjectsChanged);
    ASSERT_TRUE(m_document.RenameObject(box, "Crate"));
    EXPECT_EQ(box.GetObjName(), "Crate");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "Crate");
    Stack().undo();
    EXPECT_EQ(box.GetObjName(), "Box1");
    EXPECT_EQ(m_document.Scene().GetObjectA(CString("Box1")), &box);
}

// ----------------------------------------------------------------- keyframes

TEST_F(ObjectEditTest, ADeletedKeyComesBackWithItsIdentifierAndValues) {
    CBoxObject& box = Add<CBoxObject>("Box1");
    const int key = AddKey(box, 5.0f);
    SetAlpha(box, 0.3f, m_document.NewEditRun());
    m_document.EditKeyFrames(box, "Delete key", m_document.NewEditRun(),
                             [key](CObjects& o) { static_cast<CBaseObject&>(o).DeleteKeyFrame(key); });
    ASSERT_EQ(box.GetKeyFrameNumber(), 1);

    Stack().undo();
    ASSERT_EQ(box.GetKeyFrameNumber(), 2);
    EXPECT_EQ(box.GetKeyFrameID(1), key);
    EXPECT_EQ(box.GetKeyFrameTime(1), 5.0f);
    box.SetCurrentKeyFrame(key);
    EXPECT_FLOAT_EQ(box.GetAlpha(), 0.3f);
    // The next key made gets a new identifier, as it would have before.
    EXPECT_NE(AddKey(box, 7.0f), key);
}

TEST_F(ObjectEditTest, AKeyDragIsOneStepBackToWhereItStarted) {
    CCameraTrajectoryObject& camera = Add<CCameraTrajectoryObject>("Camera");
    const int key = camera.AddKeyFrame(2.0f);
    const int drag = m_document.NewEditRun();
    for (float time : {2.5f, 3.0f, 4.0f}) {
        m_document.EditKeyFrames(camera, "Move key", drag, [key, time](CObjects& o) {
            static_cast<CCameraTrajectoryObject&>(o).MoveKeyFrame(key, time);
        });
    }
    ASSERT_EQ(Stack().count(), 1);
    EXPECT_EQ(camera.GetKeyFrameTime(1), 4.0f);
    Stack().undo();
    EXPECT_EQ(camera.GetKeyFrameTime(1), 2.0f);
}

// ------------------------------------------------- the long random round trip

// A random edit of a random object, through the same document calls the
// property pages and the timeline make.
class CRandomEditor {
public:
    CRandomEditor(CEditorDocument& document, std::vector<CBaseObject*> objects, CCameraTrajectoryObject& camera)
        : m_Document(document), m_Objects(std::move(objects)), m_Camera(camera) {}

    void EditOnce() {
        const int run = Chance(0.3) ? m_LastRun : m_Document.NewEditRun();
        m_LastRun = run;
        if (Chance(0.2)) {
            EditCamera(run);
        } else {
            EditObject(*m_Objects[Pick(m_Objects.size())], run);
        }
    }

private:
    void EditObject(CBaseObject& object, int run) {
        switch (Pick(9)) {
        case 0:
            m_Document.EditProperty(
                object, "Alpha", run, [](CBaseObject& o) { return o.GetAlpha(); },
                [](CBaseObject& o, float a) { o.SetAlpha(a); }, Value(0.0f, 1.0f));
            break;
        case 1:
            m_Document.EditProperty(
                object, "Position", run, [](CBaseObject& o) { return o.GetPosition(); },
                [](CBaseObject& o, const D3DXVECTOR3& p) { o.SetPosition(p); }, Vector());
            break;
        case 2:
            m_Document.EditProperty(
                object, "Angle", run, [](CBaseObject& o) { return o.GetRotation(); },
                [](CBaseObject& o, const D3DXVECTOR3& r) { o.SetRotation(r); }, Vector());
            break;
        case 3:
            m_Document.EditProperty(
                object, "Scale", run, [](CBaseObject& o) { return o.GetScale(); },
                [](CBaseObject& o, float s) { o.SetScale(s); }, Value(0.1f, 3.0f));
            break;
        case 4: {
            const D3DCOLORVALUE color{Value(0.0f, 1.0f), Value(0.0f, 1.0f), Value(0.0f, 1.0f), 1.0f};
            m_Document.EditProperty(
                object, "Color", run, [](CBaseObject& o) { return o.GetDiffuseColor(0); },
                [](CBaseObject& o, const D3DCOLORVALUE& c) { o.SetColor(c, 0); }, color);
            break;
        }
        case 5:
            m_Document.EditProperty(
                object, "Lighting", run, [](CBaseObject& o) { return o.GetLighting(); },
                [](CBaseObject& o, bool on) { o.SetLighting(on); }, Chance(0.5));
            break;
        case 6:
            EditGeometry(object, run);
            break;
        case 7:
            EditKeys(object, run);
            break;
        default:
            SelectKey(object);
            break;
        }
    }

    void EditGeometry(CBaseObject& object, int run) {
        if (auto* box = dynamic_cast<CBoxObject*>(&object)) {
            using TSize = std::vector<float>;
            m_Document.EditProperty(
                *box, "Size", run,
                [](CBoxObject& o) {
                    TSize size(3);
                    o.GetSize(size[0], size[1], size[2]);
                    return size;
                },
                [](CBoxObject& o, const TSize& s) { o.SetSize(s[0], s[1], s[2]); },
                TSize{Value(0.5f, 4.0f), Value(0.5f, 4.0f), Value(0.5f, 4.0f)});
        } else if (auto* sphere = dynamic_cast<CSphereObject*>(&object)) {
            m_Document.EditProperty(
                *sphere, "Slices", run, [](CSphereObject& o) { return o.GetSliceNumber(); },
                [](CSphereObject& o, int n) { o.SetSliceNumber(n); }, 3 + static_cast<int>(Pick(20)));
        } else if (auto* torus = dynamic_cast<CTorusObject*>(&object)) {
            m_Document.EditProperty(
                *torus, "Rings", run, [](CTorusObject& o) { return o.GetRingNumber(); },
                [](CTorusObject& o, int n) { o.SetRingNumber(n); }, 3 + static_cast<int>(Pick(20)));
        } else if (auto* cylinder = dynamic_cast<CCylinderObject*>(&object)) {
            m_Document.EditProperty(
                *cylinder, "Length", run, [](CCylinderObject& o) { return o.GetLength(); },
                [](CCylinderObject& o, float l) { o.SetLength(l); }, Value(0.5f, 5.0f));
        }
    }

    void EditKeys(CBaseObject& object, int run) {
        const int count = object.GetKeyFrameNumber();
        const int id = object.GetKeyFrameID(static_cast<int>(Pick(static_cast<std::size_t>(count))));
        if (count < 2 || Chance(0.4)) {
            const float time = Value(0.0f, 60.0f);
            m_Document.EditKeyFrames(object, "Add key", run, [time](CObjects& o) {
                auto& base = static_cast<CBaseObject&>(o);
                base.SetCurrentKeyFrame(base.AddKeyFrame(time));
            });
        } else if (id != 0 && Chance(0.5)) {
            const float time = Value(0.0f, 60.0f);
            m_Document.EditKeyFrames(object, "Move key", run,
                                     [id, time](CObjects& o) { static_cast<CBaseObject&>(o).MoveKeyFrame(id, time); });
        } else if (id != 0) {
            m_Document.EditKeyFrames(object, "Delete key", run, [id](CObjects& o) {
                auto& base = static_cast<CBaseObject&>(o);
                base.DeleteKeyFrame(id);
                base.SetCurrentKeyFrame(0);
            });
        }
    }

    // Not an edit: the timeline's key selection.
    void SelectKey(CBaseObject& object) {
        const auto index = Pick(static_cast<std::size_t>(object.GetKeyFrameNumber()));
        object.SetCurrentKeyFrame(object.GetKeyFrameID(static_cast<int>(index)));
    }

    void EditCamera(int run) {
        switch (Pick(4)) {
        case 0:
            m_Document.EditProperty(
                m_Camera, "Zoom", run, [](CCameraTrajectoryObject& c) { return c.GetZoom(); },
                [](CCameraTrajectoryObject& c, float z) { c.SetZoom(z); }, Value(1.0f, 8.0f));
            break;
        case 1:
            m_Document.EditProperty(
                m_Camera, "Position", run, [](CCameraTrajectoryObject& c) { return c.GetPosition(); },
                [](CCameraTrajectoryObject& c, const D3DXVECTOR3& p) { c.SetPosition(p); }, Vector());
            break;
        case 2:
            m_Document.EditProperty(
                m_Camera, "Orientation", run, [](CCameraTrajectoryObject& c) { return c.GetOrientation(); },
                [](CCameraTrajectoryObject& c, TOrientation o) { c.SetOrientation(o); },
                static_cast<TOrientation>(Pick(5)));
            break;
        default: {
            const float time = Value(0.0f, 60.0f);
            m_Document.EditKeyFrames(m_Camera, "Add key", run, [time](CObjects& o) {
                auto& camera = static_cast<CCameraTrajectoryObject&>(o);
                camera.SetCurrentKeyFrame(camera.AddKeyFrame(time));
            });
            break;
        }
        }
    }

    bool Chance(double p) { return std::bernoulli_distribution(p)(m_Random); }
    std::size_t Pick(std::size_t count) {
        return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(m_Random);
    }
    float Value(float low, float high) { return std::uniform_real_distribution<float>(low, high)(m_Random); }
    D3DXVECTOR3 Vector() { return D3DXVECTOR3(Value(-5.0f, 5.0f), Value(-5.0f, 5.0f), Value(-5.0f, 5.0f)); }

    CEditorDocument& m_Document;
    std::vector<CBaseObject*> m_Objects;
    CCameraTrajectoryObject& m_Camera;
    std::mt19937 m_Random{20261209};
    int m_LastRun = 0;
};

TEST_F(ObjectEditTest, UndoingAHundredsOfRandomEditsGivesTheSavedFileBackByteForByte) {
    std::vector<CBaseObject*> objects{&Add<CBoxObject>("Box"), &Add<CSphereObject>("Sphere"),
                                      &Add<CTorusObject>("Torus"), &Add<CCylinderObject>("Cylinder"),
                                      &Add<CPlaneObject>("Plane")};
    CCameraTrajectoryObject& camera = Add<CCameraTrajectoryObject>("Camera");
    const std::vector<char> original = SavedBytes("original.bgs");

    CRandomEditor editor(m_document, objects, camera);
    for (int i = 0; i < 400; ++i) {
        editor.EditOnce();
    }
    ASSERT_GT(Stack().count(), 100);
    const std::vector<char> edited = SavedBytes("edited.bgs");
    ASSERT_NE(edited, original);

    while (Stack().canUndo()) {
        Stack().undo();
    }
    EXPECT_EQ(SavedBytes("undone.bgs"), original);
    while (Stack().canRedo()) {
        Stack().redo();
    }
    EXPECT_EQ(SavedBytes("redone.bgs"), edited);
}

}  // namespace
