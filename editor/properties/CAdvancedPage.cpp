#include "properties/CAdvancedPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "document/CEditorDocument.h"
#include "objects/CBaseObject.h"

CAdvancedPage::CAdvancedPage(QWidget* parent)
    : CObjectPage(parent),
      m_pCulling(new QCheckBox("Backface culling", this)),
      m_pLighting(new QCheckBox("Lighting", this)),
      m_pProjection(new QComboBox(this)),
      m_pFacing(new QCheckBox("Always Facing Camera", this)) {
    setWindowTitle("Advanced");
    m_pProjection->addItems({"2D Projection", "3D Projection"});

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setVerticalSpacing(8);
    grid->addWidget(m_pCulling, 0, 0, 1, 2);
    grid->addWidget(m_pLighting, 1, 0, 1, 2);
    grid->addWidget(new QLabel("Projection:", this), 2, 0);
    grid->addWidget(m_pProjection, 2, 1);
    grid->addWidget(m_pFacing, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    connect(m_pCulling, &QCheckBox::clicked, this, &CAdvancedPage::CommitCulling);
    connect(m_pLighting, &QCheckBox::clicked, this, &CAdvancedPage::CommitLighting);
    connect(m_pProjection, &QComboBox::currentIndexChanged, this, &CAdvancedPage::CommitProjection);
    connect(m_pFacing, &QCheckBox::clicked, this, &CAdvancedPage::CommitFacing);
    setEnabled(false);
}

CBaseObject* CAdvancedPage::Base() const {
    return HasObject() && Object()->IsBaseObject() ? static_cast<CBaseObject*>(Object()) : nullptr;
}

void CAdvancedPage::Refresh() {
    CBaseObject* object = Base();
    setEnabled(object != nullptr);
    if (object == nullptr) {
        return;
    }
    bool culling = false;
    bool lighting = false;
    bool facing = false;
    ProjectionMode projection = PM_PERSPECTIVE;
    {
        CSceneLock lock(Document().Scene());
        culling = object->GetCulling();
        lighting = object->GetLighting();
        facing = object->GetAlwaysFacingCamera();
        projection = object->GetProjectionMode();
    }
    m_pCulling->setChecked(culling);
    m_pLighting->setChecked(lighting);
    m_pFacing->setChecked(facing);
    const QSignalBlocker quiet(m_pProjection);
    // Both overlay projections show as "2D Projection".
    m_pProjection->setCurrentIndex(projection == PM_PERSPECTIVE ? k3DProjection : k2DProjection);
}

void CAdvancedPage::CommitCulling(bool culling) {
    if (CBaseObject* object = Base()) {
        StartRun();
        Document().EditProperty(
            *object, "Backface Culling", EditRun(), [](CBaseObject& o) { return o.GetCulling(); },
            [](CBaseObject& o, bool on) { o.EnableCulling(on); }, culling);
    }
    Refresh();
}

void CAdvancedPage::CommitLighting(bool lighting) {
    if (CBaseObject* object = Base()) {
        StartRun();
        Document().EditProperty(
            *object, "Lighting", EditRun(), [](CBaseObject& o) { return o.GetLighting(); },
            [](CBaseObject& o, bool on) { o.SetLighting(on); }, lighting);
    }
    Refresh();
}

void CAdvancedPage::CommitProjection(int index) {
    if (CBaseObject* object = Base(); object != nullptr && index >= 0) {
        StartRun();
        Document().EditProperty(
            *object, "Projection", EditRun(), [](CBaseObject& o) { return o.GetProjectionMode(); },
            [](CBaseObject& o, ProjectionMode mode) { o.SetProjectionMode(mode); },
            index == k3DProjection ? PM_PERSPECTIVE : PM_SCREEN_OVERLAY);
    }
    Refresh();
}

void CAdvancedPage::CommitFacing(bool facing) {
    if (CBaseObject* object = Base()) {
        StartRun();
        Document().EditProperty(
            *object, "Always Facing Camera", EditRun(), [](CBaseObject& o) { return o.GetAlwaysFacingCamera(); },
            [](CBaseObject& o, bool on) { o.SetAlwaysFacingCamera(on); }, facing);
    }
    Refresh();
}
