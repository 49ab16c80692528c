// The "Advanced" page: both overlay projections show as "2D Projection",
// and each change of culling, lighting, facing or projection is one undo
// step.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <memory>

#include "objects/CBoxObject.h"
#include "panes/EditorSceneFixture.h"
#include "properties/CAdvancedPage.h"

namespace {

class AdvancedPage : public EditorSceneFixture {
protected:
    void SetUp() override {
        EditorSceneFixture::SetUp();
        m_pBox = &Add<CBoxObject>("Box1");
        m_page = std::make_unique<CAdvancedPage>();
        m_page->SetObject(m_pBox, m_document, false);
    }
    int Steps() { return m_document.UndoStack().index(); }

    CBoxObject* m_pBox = nullptr;
    std::unique_ptr<CAdvancedPage> m_page;
};

}  // namespace

TEST_F(AdvancedPage, BothOverlayProjectionsShowAs2DProjection) {
    for (ProjectionMode overlay : {PM_PIXEL_OVERLAY, PM_SCREEN_OVERLAY}) {
        m_pBox->SetProjectionMode(overlay);
        m_page->Refresh();
        EXPECT_EQ(m_page->ProjectionBox()->currentText(), "2D Projection");
        EXPECT_EQ(m_pBox->GetProjectionMode(), overlay);  // showing it changed nothing
    }
}

TEST_F(AdvancedPage, EachChangeIsOneUndoStep) {
    const bool culling = m_pBox->GetCulling();
    const bool lighting = m_pBox->GetLighting();
    const bool facing = m_pBox->GetAlwaysFacingCamera();
    m_page->CullingCheck()->click();
    m_page->LightingCheck()->click();
    m_page->FacingCheck()->click();
    m_page->ProjectionBox()->setCurrentIndex(CAdvancedPage::k2DProjection);
    EXPECT_EQ(m_pBox->GetCulling(), !culling);
    EXPECT_EQ(m_pBox->GetLighting(), !lighting);
    EXPECT_EQ(m_pBox->GetAlwaysFacingCamera(), !facing);
    EXPECT_EQ(m_pBox->GetProjectionMode(), PM_SCREEN_OVERLAY);
    EXPECT_EQ(Steps(), 4);

    m_pBox->SetProjectionMode(PM_PIXEL_OVERLAY);
    m_page->Refresh();
    m_page->ProjectionBox()->setCurrentIndex(CAdvancedPage::k3DProjection);
    EXPECT_EQ(m_pBox->GetProjectionMode(), PM_PERSPECTIVE);
    m_document.UndoStack().undo();
    EXPECT_EQ(m_pBox->GetProjectionMode(), PM_PIXEL_OVERLAY);
    m_document.UndoStack().undo();
    EXPECT_EQ(m_pBox->GetProjectionMode(), PM_PERSPECTIVE);
    m_document.UndoStack().undo();
    EXPECT_EQ(m_pBox->GetAlwaysFacingCamera(), facing);
    m_document.UndoStack().undo();
    m_document.UndoStack().undo();
    EXPECT_EQ(m_pBox->GetCulling(), culling);
    EXPECT_EQ(m_pBox->GetLighting(), lighting);
}
