#include "properties/CBasicPage.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/CColorSwatch.h"
#include "controls/CNumberField.h"
#include "controls/QtConvert.h"
#include "document/CEditorDocument.h"
#include "objects/CBaseObject.h"
#include "properties/CAngleUnits.h"
#include "properties/CBasicPageRules.h"

namespace {

constexpr int kMaxNameLength = 128;
constexpr const char* kTextureFilter = "Bitmap Images (*.bmp *.png *.jpg *.tga)";

// A texture as the page edits it: the file of material 0 and whether it is
// drawn. Both go back together on undo (setting a file also switches the
// texture on).
struct STexture {
    CString name;
    bool draw = false;
    bool operator==(const STexture&) const = default;
};

STexture ReadTextureState(CBaseObject& object) {
    return {object.GetTexture(0), object.GetTextureState()};
}

void WriteTextureState(CBaseObject& object, const STexture& texture) {
    // Loading a file again is slow and would drop a texture that has gone
    // from the disk since.
    if (object.GetTexture(0) != texture.name) {
        object.SetTexture(texture.name, 0);
    }
    object.DrawTexture(texture.draw);
}

D3DXVECTOR3 ReadPosition(CBaseObject& object) {
    return object.GetPositionKey();
}

void WritePosition(CBaseObject& object, const D3DXVECTOR3& position) {
    object.SetPosition(position);
}

D3DXVECTOR3 ReadRotation(CBaseObject& object) {
    return object.GetRotation();
}

void WriteRotation(CBaseObject& object, const D3DXVECTOR3& rotation) {
    object.SetRotation(rotation);
}

QLabel* AxisLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return label;
}

}  // namespace

CBasicPage::CBasicPage(QWidget* parent)
    : CObjectPage(parent),
      m_pLayout(new QGridLayout(this)),
      m_pName(new QLineEdit(this)),
      m_pScale(nullptr),
      m_pFillMode(new QComboBox(this)),
      m_pAlpha(nullptr),
      m_pSwatch(new CColorSwatch(this)),
      m_pChangeColor(new QPushButton("Change...", this)),
      m_pTextureCheck(new QCheckBox("Texture:", this)),
      m_pTextureFile(new QLineEdit(this)),
      m_pBrowseTexture(new QPushButton("...", this)) {
    for (int axis = 0; axis < 3; ++axis) {
        m_pPosition[axis] = AddField(0.1, 2);
        m_pAngle[axis] = AddField(CAngleUnits::Step(m_AngleUnit), 2);
    }
    m_pScale = AddField(0.1, 5);
    m_pAlpha = AddField(0.1, 2);
    m_pName->setMaxLength(kMaxNameLength);
    m_pFillMode->addItems(CBasicPageRules::FillModeNames());
    m_pTextureFile->setReadOnly(true);
    m_pBrowseTexture->setFixedWidth(28);
    m_pSwatch->setMinimumHeight(22);
    setWindowTitle("Basic");
    BuildLayout();
    ConnectFields();
    ShowNothing();
}

CNumberField* CBasicPage::AddField(double step, int decimals) {
    auto* field = new CNumberField(this);
    field->SetStep(step);
    field->SetDecimals(decimals);
    TrackRuns(field);
    return field;
}

void CBasicPage::BuildLayout() {
    QGridLayout& grid = *m_pLayout;
    grid.setContentsMargins(8, 8, 8, 8);
    grid.setHorizontalSpacing(4);
    grid.setVerticalSpacing(6);
    int row = 0;
    grid.addWidget(new QLabel("Name:", this), row, 0);
    grid.addWidget(m_pName, row++, 1, 1, 3);
    grid.addWidget(AxisLabel("X", this), row, 1);
    grid.addWidget(AxisLabel("Y", this), row, 2);
    grid.addWidget(AxisLabel("Z", this), row++, 3);
    grid.addWidget(new QLabel("Position:", this), row, 0);
    for (int axis = 0; axis < 3; ++axis) {
        grid.addWidget(m_pPosition[axis], row, axis + 1);
    }
    ++row;
    grid.addWidget(new QLabel("Angle:", this), row, 0);
    for (int axis = 0; axis < 3; ++axis) {
        grid.addWidget(m_pAngle[axis], row, axis + 1);
    }
    ++row;
    grid.addWidget(new QLabel("Scale:", this), row, 0);
    grid.addWidget(m_pScale, row++, 1, 1, 2);
    grid.addWidget(new QLabel("Fill Mode:", this), row, 0);
    grid.addWidget(m_pFillMode, row++, 1, 1, 2);
    grid.addWidget(new QLabel("Alpha:", this), row, 0);
    grid.addWidget(m_pAlpha, row++, 1);
    grid.addWidget(new QLabel("Color:", this), row, 0);
    grid.addWidget(m_pSwatch, row, 1);
    grid.addWidget(m_pChangeColor, row++, 2, 1, 2, Qt::AlignLeft);
    grid.addWidget(m_pTextureCheck, row, 0);
    grid.addWidget(m_pTextureFile, row, 1, 1, 2);
    grid.addWidget(m_pBrowseTexture, row++, 3, Qt::AlignLeft);
    grid.setRowStretch(row, 1);
    for (int column = 1; column <= 3; ++column) {
        grid.setColumnStretch(column, 1);
    }
}

void CBasicPage::ConnectFields() {
    connect(m_pName, &QLineEdit::editingFinished, this, &CBasicPage::CommitName);
    for (int axis = 0; axis < 3; ++axis) {
        connect(m_pPosition[axis], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { CommitPosition(axis, value); });
        connect(m_pAngle[axis], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { CommitAngle(axis, value); });
    }
    connect(m_pScale, &CNumberField::ValueCommitted, this, &CBasicPage::CommitScale);
    connect(m_pAlpha, &CNumberField::ValueCommitted, this, &CBasicPage::CommitAlpha);
    connect(m_pFillMode, &QComboBox::currentIndexChanged, this, &CBasicPage::CommitFillMode);
    connect(m_pSwatch, &CColorSwatch::Clicked, this, &CBasicPage::ChooseColor);
    connect(m_pChangeColor, &QPushButton::clicked, this, &CBasicPage::ChooseColor);
    connect(m_pTextureCheck, &QCheckBox::clicked, this, &CBasicPage::CommitTextureCheck);
    connect(m_pBrowseTexture, &QPushButton::clicked, this, &CBasicPage::ChooseTexture);
}

void CBasicPage::SetAngleUnit(int unit) {
    m_AngleUnit = unit;
    for (CNumberField* field : m_pAngle) {
        field->SetStep(CAngleUnits::Step(unit));
        field->SetDecimals(unit == CAngleUnits::kRadians ? 3 : 2);
    }
    Refresh();
}

CBaseObject* CBasicPage::Base() const {
    return HasObject() && Object()->IsBaseObject() ? static_cast<CBaseObject*>(Object()) : nullptr;
}

// ---------------------------------------------------------------- object -> page

void CBasicPage::Refresh() {
    SShown shown;
    if (!ReadShown(shown)) {
        ShowNothing();
        return;
    }
    m_Shown = shown;
    ShowValues();
}

bool CBasicPage::ReadShown(SShown& shown) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return false;
    }
    CSceneLock lock(Document().Scene());
    shown.name = ToQString(object->GetObjName());
    shown.pivot = object->GetPivot();
    shown.position = object->GetPositionKey();
    shown.rotation = object->GetRotation();
    shown.scale = object->GetScale();
    shown.alpha = object->GetAlpha();
    shown.fillMode = object->GetFillMode();
    shown.color = object->GetDiffuseColor(0);
    shown.drawTexture = object->GetTextureState();
    shown.texture = ToQString(object->GetTexture(0));
    shown.isFont = object->GetObjType() == "CBmpFonts";
    return true;
}

void CBasicPage::ShowValues() {
    setEnabled(true);
    m_pName->setText(m_Shown.name);
    for (int axis = 0; axis < 3; ++axis) {
        m_pPosition[axis]->SetValue(m_Shown.pivot[axis] + m_Shown.position[axis]);
        m_pAngle[axis]->SetValue(CAngleUnits::ToDisplay(m_Shown.rotation[axis], m_AngleUnit));
    }
    m_pScale->SetValue(m_Shown.scale);
    {
        const QSignalBlocker quiet(m_pFillMode);
        m_pFillMode->setCurrentIndex(CBasicPageRules::FillModeIndex(m_Shown.fillMode));
    }
    m_pAlpha->SetValue(m_Shown.alpha);
    m_pSwatch->SetColor(CBasicPageRules::ToQColor(m_Shown.color));
    m_pTextureCheck->setChecked(m_Shown.drawTexture);
    CBasicPageRules::SplitPath(m_Shown.texture, m_TextureFolder, m_TextureName);
    m_pTextureFile->setText(m_TextureName);
    UpdateTextureControls();
}

void CBasicPage::ShowNothing() {
    m_Shown = SShown();
    m_pName->clear();
    m_pTextureFile->clear();
    setEnabled(false);
}

void CBasicPage::UpdateTextureControls() {
    // A text object's texture is its font, chosen on the "Text" page.
    m_pTextureCheck->setEnabled(!m_Shown.isFont);
    const bool file = !m_Shown.isFont && m_Shown.drawTexture;
    m_pTextureFile->setEnabled(file);
    m_pBrowseTexture->setEnabled(file);
}

// ---------------------------------------------------------------- page -> object

void CBasicPage::CommitName() {
    CBaseObject* object = Base();
    if (object == nullptr || !m_pName->isModified()) {
        return;
    }
    // Cleared first: the rename rebuilds the object list, which may take the
    // focus and finish this edit once more.
    m_pName->setModified(false);
    StartRun();
    // A refused name (empty, or another object's) gives way to the old one.
    Document().RenameObject(*object, m_pName->text());
    Refresh();
}

void CBasicPage::CommitPosition(int axis, double value) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    // The other two axes keep the object's exact values, not their rounded
    // text. The field shows pivot plus key, so the key is what is typed
    // less the pivot: a typed value shows again as typed.
    D3DXVECTOR3 position = m_Shown.position;
    position[axis] = static_cast<float>(value) - m_Shown.pivot[axis];
    Document().EditProperty(*object, "Position", EditRun(), ReadPosition, WritePosition, position);
    Refresh();
}

void CBasicPage::CommitAngle(int axis, double value) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    D3DXVECTOR3 rotation = m_Shown.rotation;
    rotation[axis] = static_cast<float>(CAngleUnits::FromDisplay(value, m_AngleUnit));
    Document().EditProperty(*object, "Angle", EditRun(), ReadRotation, WriteRotation, rotation);
    Refresh();
}

void CBasicPage::CommitScale(double value) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    Document().EditProperty(
        *object, "Scale", EditRun(), [](CBaseObject& o) { return o.GetScale(); },
        [](CBaseObject& o, float scale) { o.SetScale(scale); }, CBasicPageRules::ClampScale(static_cast<float>(value)));
    Refresh();
}

void CBasicPage::CommitFillMode(int index) {
    CBaseObject* object = Base();
    if (object == nullptr || index < 0) {
        return;
    }
    StartRun();
    Document().EditProperty(
        *object, "Fill Mode", EditRun(), [](CBaseObject& o) { return o.GetFillMode(); },
        [](CBaseObject& o, TFillMode mode) { o.SetFillMode(mode); }, CBasicPageRules::FillModeAt(index));
    Refresh();
}

void CBasicPage::CommitAlpha(double value) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    Document().EditProperty(
        *object, "Alpha", EditRun(), [](CBaseObject& o) { return o.GetAlpha(); },
        [](CBaseObject& o, float alpha) { o.SetAlpha(alpha); }, CBasicPageRules::ClampAlpha(static_cast<float>(value)));
    Refresh();
}

void CBasicPage::ChooseColor() {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    QColorDialog dialog(CBasicPageRules::ToQColor(m_Shown.color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || Base() != object) {
        return;
    }
    const D3DCOLORVALUE chosen = CBasicPageRules::FromQColor(dialog.selectedColor(), m_Shown.alpha);
    StartRun();
    Document().EditProperty(
        *object, "Color", EditRun(), [](CBaseObject& o) { return D3DXCOLOR(o.GetDiffuseColor(0)); },
        [](CBaseObject& o, const D3DXCOLOR& c) {
            o.SetColor(D3DCOLORVALUE{c.r, c.g, c.b, c.a}, 0);
        },
        D3DXCOLOR(chosen));
    Refresh();
}

void CBasicPage::CommitTextureCheck(bool checked) {
    WriteTexture(m_TextureFolder + m_TextureName, checked);
}

void CBasicPage::ChooseTexture() {
    if (Base() == nullptr) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, "Open", m_TextureFolder + m_TextureName, kTextureFilter,
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) {
        return;
    }
    WriteTexture(path, true);
}

void CBasicPage::WriteTexture(const QString& path, bool draw) {
    CBaseObject* object = Base();
    if (object == nullptr) {
        return;
    }
    StartRun();
    Document().EditProperty(*object, "Texture", EditRun(), ReadTextureState, WriteTextureState,
                            STexture{ToCString(path), draw});
    Refresh();
}
