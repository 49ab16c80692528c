#include "properties/CAnimationPage.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/CNumberField.h"
#include "meshes/CAnimFileMeshObject.h"

namespace {

// The mesh files in playing order, with buttons to reorder them.
QGroupBox* NewFrameOrderGroup(QWidget* parent) {
    auto* group = new QGroupBox("Frame Order", parent);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QListWidget(group), 0, 0, 4, 1);
    grid->addWidget(new QPushButton("Up", group), 0, 1);
    grid->addWidget(new QPushButton("Down", group), 1, 1);
    grid->addWidget(new QPushButton("Duplicate", group), 2, 1);
    return group;
}

}  // namespace

CAnimationPage::CAnimationPage(QWidget* parent) : CFieldPage(parent), m_pFrameOrder(NewFrameOrderGroup(this)) {
    setWindowTitle("Animation");
    auto* page = new QVBoxLayout(this);
    auto* form = NewForm();
    m_pStep = AddRow(*form, "Displayed Step:", false);
    page->addLayout(form);
    page->addWidget(m_pFrameOrder);
    page->addStretch(1);
    m_pFrameOrder->hide();

    connect(m_pStep, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CAnimFileMeshObject>(
            "Displayed Step", [](CAnimFileMeshObject& o) { return o.GetSpeed(); },
            [](CAnimFileMeshObject& o, float step) { o.SetSpeed(step); }, static_cast<float>(value));
    });
}

void CAnimationPage::Refresh() {
    CAnimFileMeshObject* mesh = ObjectAs<CAnimFileMeshObject>();
    if (mesh == nullptr) {
        return;
    }
    float step = 0.0f;
    {
        CSceneLock lock(Document().Scene());
        step = mesh->GetSpeed();
    }
    m_pStep->SetValue(step);
}
