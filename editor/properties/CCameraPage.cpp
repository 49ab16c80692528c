#include "properties/CCameraPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "animation/CCameraTrajectoryObject.h"
#include "animation/CTrajectoryObject.h"
#include "controls/CNumberField.h"
#include "controls/QtConvert.h"
#include "objects/CBaseObject.h"

namespace {

constexpr int kGroupFrame = 3;  // the group box's frame line, inside its layout's margin

// One component of a vector (0 x, 1 y, 2 z).
float& Component(D3DXVECTOR3& vector, int axis) {
    return static_cast<float*>(vector)[axis];
}

// What the page shows, read in one go under the scene lock.
struct SShown {
    bool camera = false;
    QString name;
    D3DXVECTOR3 position;
    D3DXVECTOR3 angle;
    D3DXVECTOR3 lookAt;
    float zoom = 0.0f;
    int weight = 0;
    TInterpolationMode mode = IM_HSPLINE;
    TOrientation orientation = OR_FIXED;
    QString lookAtObject;
};

QString NameOf(const CBaseObject* object) {
    return object != nullptr ? ToQString(object->GetObjName()) : QString();
}

void SetVisible(const std::vector<QWidget*>& widgets, bool visible) {
    for (QWidget* widget : widgets) {
        widget->setVisible(visible);
    }
}

void SetEnabled(const std::vector<QWidget*>& widgets, bool enabled) {
    for (QWidget* widget : widgets) {
        widget->setEnabled(enabled);
    }
}

int IndexOfData(const QComboBox& combo, int value) {
    return std::max(0, combo.findData(value));
}

}  // namespace

CCameraPage::SOrientationRows CCameraPage::RowsFor(TOrientation orientation) {
    SOrientationRows rows;
    rows.angle = orientation == OR_FIXED;
    rows.lookAtPosition = orientation == OR_LOOK_AT_POSITION;
    rows.lookAtObject = orientation == OR_LOOK_AT_OBJECT;
    return rows;
}

CCameraPage::CCameraPage(QWidget* parent) : CFieldPage(parent) {
    setWindowTitle("Basic");
    BuildLayout();
    ConnectFields();
    ShowRows(OR_FIXED);
}

CCameraPage::TRow CCameraPage::AddVectorRow(QGridLayout& grid, int row, const QString& label,
                                            std::vector<QWidget*>& widgets, QWidget* parent) {
    auto* title = new QLabel(label, parent);
    grid.addWidget(title, row, 0);
    widgets.push_back(title);
    TRow fields{};
    for (int axis = 0; axis < 3; ++axis) {
        CNumberField* field = NewField(false, parent);
        grid.addWidget(field, row, axis + 1);
        widgets.push_back(field);
        fields[static_cast<size_t>(axis)] = field;
    }
    return fields;
}

void CCameraPage::BuildLayout() {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 6, 4, 4);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(4);
    m_pName = new QLineEdit(this);
    m_pName->setMaxLength(kMaximumNameLength);
    grid->addWidget(new QLabel("Name:", this), 0, 0);
    grid->addWidget(m_pName, 0, 1, 1, 3);
    m_pPosition = AddVectorRow(*grid, 1, "Position:", m_CameraOnlyRows, this);

    auto* zoomLabel = new QLabel("Zoom:", this);
    m_pZoom = NewField(false);
    grid->addWidget(zoomLabel, 2, 0);
    grid->addWidget(m_pZoom, 2, 1);
    auto* weightLabel = new QLabel("Weight:", this);
    m_pWeight = NewField(true);
    grid->addWidget(weightLabel, 3, 0);
    grid->addWidget(m_pWeight, 3, 1);
    m_CameraOnlyRows.insert(m_CameraOnlyRows.end(), {zoomLabel, m_pZoom, weightLabel, m_pWeight});

    m_pInterpolation = new QComboBox(this);
    for (const SInterpolationItem& item : kInterpolations) {
        m_pInterpolation->addItem(item.text, static_cast<int>(item.mode));
    }
    page->addLayout(grid);
    // Beside the grid rather than in it: its long label would widen the
    // label column, and the three fields of a row would no longer fit.
    auto* interpolation = new QHBoxLayout();
    interpolation->addWidget(new QLabel("Interpolation:", this));
    interpolation->addWidget(m_pInterpolation, 1);
    page->addLayout(interpolation);

    // The orientation and the rows it uses.
    auto* group = new QGroupBox("Orientation", this);
    auto* orientation = new QGridLayout(group);
    orientation->setHorizontalSpacing(4);
    orientation->setContentsMargins(4, 6, 4, 4);
    m_pOrientation = new QComboBox(group);
    for (const SOrientationItem& item : kOrientations) {
        m_pOrientation->addItem(item.text, static_cast<int>(item.orientation));
    }
    orientation->addWidget(m_pOrientation, 0, 1, 1, 2);
    m_pAngle = AddVectorRow(*orientation, 1, "Angle:", m_AngleRow, group);
    m_CameraOnlyRows.insert(m_CameraOnlyRows.end(), m_AngleRow.begin(), m_AngleRow.end());
    m_pLookAt = AddVectorRow(*orientation, 2, "Position:", m_LookAtPositionRow, group);
    auto* objectLabel = new QLabel("Object To Look At:", group);
    m_pLookAtObject = new QComboBox(group);
    // The longest label has a row of its own, so that the page fits the
    // pane's usual width.
    orientation->addWidget(objectLabel, 3, 0, 1, 4);
    orientation->addWidget(m_pLookAtObject, 4, 1, 1, 3);
    m_LookAtObjectRow = {objectLabel, m_pLookAtObject};
    page->addWidget(group);
    page->addStretch(1);

    // The fields inside the group line up with those above it, whichever
    // of the group's rows are shown.
    int labelWidth = 0;
    for (const QLabel* label : findChildren<QLabel*>()) {
        if (label != objectLabel && label->text() != QLatin1String("Interpolation:")) {
            labelWidth = std::max(labelWidth, label->sizeHint().width());
        }
    }
    const int groupInset = orientation->contentsMargins().left() + kGroupFrame;
    grid->setColumnMinimumWidth(0, labelWidth + groupInset);
    orientation->setColumnMinimumWidth(0, labelWidth);
}

void CCameraPage::ConnectFields() {
    connect(m_pName, &QLineEdit::editingFinished, this, &CCameraPage::ApplyName);
    for (int axis = 0; axis < 3; ++axis) {
        const size_t i = static_cast<size_t>(axis);
        connect(m_pPosition[i], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { ApplyPosition(axis, value); });
        connect(m_pAngle[i], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { ApplyAngle(axis, value); });
        connect(m_pLookAt[i], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { ApplyLookAtPosition(axis, value); });
    }
    connect(m_pZoom, &CNumberField::ValueCommitted, this, &CCameraPage::ApplyZoom);
    connect(m_pWeight, &CNumberField::ValueCommitted, this, &CCameraPage::ApplyWeight);
    // activated: chosen by the user, not set by Refresh.
    connect(m_pInterpolation, &QComboBox::activated, this, &CCameraPage::ApplyInterpolation);
    connect(m_pOrientation, &QComboBox::activated, this, &CCameraPage::ApplyOrientation);
    connect(m_pLookAtObject, &QComboBox::activated, this, &CCameraPage::ApplyLookAtObject);
}

void CCameraPage::ShowRows(TOrientation orientation) {
    const SOrientationRows rows = RowsFor(orientation);
    SetVisible(m_AngleRow, rows.angle);
    SetVisible(m_LookAtPositionRow, rows.lookAtPosition);
    SetVisible(m_LookAtObjectRow, rows.lookAtObject);
}

void CCameraPage::EnableCameraRows(bool camera) {
    SetEnabled(m_CameraOnlyRows, camera);
}

void CCameraPage::Refresh() {
    auto* camera = ObjectAs<CCameraTrajectoryObject>();
    auto* trajectory = ObjectAs<CTrajectoryObject>();
    if (camera == nullptr && trajectory == nullptr) {
        return;
    }
    SShown shown;
    QStringList targets;
    {
        CScene& scene = Document().Scene();
        CSceneLock lock(scene);
        shown.name = ToQString(Object()->GetObjName());
        if (camera != nullptr) {
            shown.camera = true;
            shown.position = camera->GetPosition();
            shown.angle = camera->GetDirection();
            shown.lookAt = camera->GetLookAtPosition();
            shown.zoom = camera->GetZoom();
            shown.weight = camera->GetWeight();
            shown.mode = camera->GetInterpolationMode();
            shown.orientation = camera->GetOrientation();
            shown.lookAtObject = NameOf(camera->GetLookAtObject());
        } else {
            shown.lookAt = trajectory->GetOrientationPosition();
            shown.mode = trajectory->GetPath().GetMode();
            shown.orientation = trajectory->GetOrientation();
            shown.lookAtObject = NameOf(trajectory->GetLookAtObject());
        }
        // Only base objects can be looked at (cameras, trajectories and
        // lights have no place of their own to look at).
        for (int i = 0; i < scene.GetObjectNumber(); ++i) {
            CObjects* object = scene.GetObjectA(i);
            if (object->IsBaseObject()) {
                targets.push_back(ToQString(object->GetObjName()));
            }
        }
    }

    if (m_pName->text() != shown.name) {
        m_pName->setText(shown.name);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const size_t i = static_cast<size_t>(axis);
        m_pPosition[i]->SetValue(Component(shown.position, axis));
        m_pAngle[i]->SetValue(Component(shown.angle, axis));
        m_pLookAt[i]->SetValue(Component(shown.lookAt, axis));
    }
    m_pZoom->SetValue(shown.zoom);
    m_pWeight->SetValue(shown.weight);
    m_pInterpolation->setCurrentIndex(IndexOfData(*m_pInterpolation, shown.mode));
    m_pOrientation->setCurrentIndex(IndexOfData(*m_pOrientation, shown.orientation));
    std::sort(targets.begin(), targets.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    m_pLookAtObject->clear();
    m_pLookAtObject->addItem("<none>", QString());
    for (const QString& target : targets) {
        m_pLookAtObject->addItem(target, target);
    }
    m_pLookAtObject->setCurrentIndex(std::max(0, m_pLookAtObject->findData(shown.lookAtObject)));
    ShowRows(shown.orientation);
    EnableCameraRows(shown.camera);
}

void CCameraPage::ApplyName() {
    if (!HasObject()) {
        return;
    }
    CObjects& object = *Object();
    QString current;
    {
        CSceneLock lock(Document().Scene());
        current = ToQString(object.GetObjName());
    }
    const QString typed = m_pName->text();
    // An empty name or one already in use (this object's own included) is
    // refused: the old name comes back.
    if (typed == current || !Document().RenameObject(object, typed)) {
        m_pName->setText(current);
    }
}

void CCameraPage::ApplyPosition(int axis, double value) {
    EditPart<CCameraTrajectoryObject>(
        "Position", [](CCameraTrajectoryObject& o) { return o.GetPosition(); },
        [](CCameraTrajectoryObject& o, const D3DXVECTOR3& p) { o.SetPosition(p); },
        [axis, value](D3DXVECTOR3& p) { Component(p, axis) = static_cast<float>(value); });
}

void CCameraPage::ApplyAngle(int axis, double value) {
    EditPart<CCameraTrajectoryObject>(
        "Angle", [](CCameraTrajectoryObject& o) { return o.GetDirection(); },
        [](CCameraTrajectoryObject& o, const D3DXVECTOR3& d) { o.SetDirection(d); },
        [axis, value](D3DXVECTOR3& d) { Component(d, axis) = static_cast<float>(value); });
}

void CCameraPage::ApplyLookAtPosition(int axis, double value) {
    const auto change = [axis, value](D3DXVECTOR3& p) { Component(p, axis) = static_cast<float>(value); };
    EditPart<CCameraTrajectoryObject>(
        "Look-At Position", [](CCameraTrajectoryObject& o) { return o.GetLookAtPosition(); },
        [](CCameraTrajectoryObject& o, const D3DXVECTOR3& p) { o.SetLookAtPosition(p); }, change);
    EditPart<CTrajectoryObject>(
        "Look-At Position", [](CTrajectoryObject& o) { return o.GetOrientationPosition(); },
        [](CTrajectoryObject& o, const D3DXVECTOR3& p) { o.SetOrientationPosition(p); }, change);
}

void CCameraPage::ApplyZoom(double value) {
    Edit<CCameraTrajectoryObject>(
        "Zoom", [](CCameraTrajectoryObject& o) { return o.GetZoom(); },
        [](CCameraTrajectoryObject& o, float zoom) { o.SetZoom(zoom); }, Clamped(value, kMinimumZoom, kMaximumZoom));
}

void CCameraPage::ApplyWeight(double value) {
    Edit<CCameraTrajectoryObject>(
        "Weight", [](CCameraTrajectoryObject& o) { return o.GetWeight(); },
        [](CCameraTrajectoryObject& o, int weight) { o.SetWeight(weight); }, ToCount(value, 0));
}

void CCameraPage::ApplyInterpolation(int index) {
    StartRun();  // each choice is an undo step of its own
    const auto mode = static_cast<TInterpolationMode>(m_pInterpolation->itemData(index).toInt());
    Edit<CCameraTrajectoryObject>(
        "Interpolation", [](CCameraTrajectoryObject& o) { return o.GetInterpolationMode(); },
        [](CCameraTrajectoryObject& o, TInterpolationMode m) { o.SetInterpolationMode(m); }, mode);
    Edit<CTrajectoryObject>(
        "Interpolation", [](CTrajectoryObject& o) { return o.GetPath().GetMode(); },
        [](CTrajectoryObject& o, TInterpolationMode m) { o.GetPath().SetMode(m); }, mode);
}

void CCameraPage::ApplyOrientation(int index) {
    StartRun();
    const auto orientation = static_cast<TOrientation>(m_pOrientation->itemData(index).toInt());
    const auto read = [](auto& o) { return o.GetOrientation(); };
    const auto write = [](auto& o, TOrientation value) { o.SetOrientation(value); };
    Edit<CCameraTrajectoryObject>("Orientation", read, write, orientation);
    Edit<CTrajectoryObject>("Orientation", read, write, orientation);
}

void CCameraPage::ApplyLookAtObject(int index) {
    if (!HasObject()) {
        return;
    }
    StartRun();
    const QString name = m_pLookAtObject->itemData(index).toString();
    CBaseObject* target = nullptr;
    if (!name.isEmpty()) {
        CSceneLock lock(Document().Scene());
        target = dynamic_cast<CBaseObject*>(Document().Scene().GetObjectA(ToCString(name)));
    }
    const auto read = [](auto& o) { return o.GetLookAtObject(); };
    const auto write = [](auto& o, CBaseObject* value) { o.SetLookAtObject(value); };
    Edit<CCameraTrajectoryObject>("Object To Look At", read, write, target);
    Edit<CTrajectoryObject>("Object To Look At", read, write, target);
}
