#include "dialogs/CCreateObjectDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

#include "controls/CObjectIcons.h"
#include "controls/QtConvert.h"
#include "scene/CScene.h"

namespace {

const char* const kMessageTitle = "Brennox Skyloom";

// Proposed names keep counting for as long as the editor runs, so that two
// dialogs never propose the same name, even when the first was cancelled.
int g_UntitledCounter = 0;

}  // namespace

const std::array<CCreateObjectDialog::SEntry, 10>& CCreateObjectDialog::Entries() {
    static const std::array<SEntry, 10> entries = {{
        {"CPlaneObject", "Plane Object\nUse this to put an image in 2D overlay or directly in your 3D scene."},
        {"CSphereObject", "Sphere Object\nTo create a sphere in your 3D scene."},
        {"CBoxObject", "Box Object\nTo create a box in your 3D scene."},
        {"CTorusObject", "Torus Object\nTo create a torus in your 3D scene."},
        {"CCylinderObject", "Cylinder Object\nTo create a cylinder in your 3D scene."},
        {"CHeightMapObject", "Heightmap Object\nTo create an heightmap (terrain) in your 3D scene."},
        {"CBmpFonts", "2D Fonts\nTo display some text in your scene."},
        {"CFileMeshObject", "Imported Mesh\nTo import meshes and object from your favorite 3D package."},
        {"CAnimFileMeshObject", "Animated Mesh\nTo import animated meshes in your scene."},
        {"CCameraTrajectoryObject", "Cameras\nTo add a new camera to your scene."},
    }};
    return entries;
}

QString CCreateObjectDialog::ProposeName(CScene& scene) {
    for (;;) {
        const QString name = QStringLiteral("untitled_%1").arg(g_UntitledCounter++);
        if (scene.GetObjectA(ToCString(name)) == nullptr) {
            return name;
        }
    }
}

CCreateObjectDialog::CCreateObjectDialog(CScene& scene, QWidget* parent)
    : QDialog(parent), m_Scene(scene), m_pTypes(new QListWidget(this)), m_pName(new QLineEdit(this)) {
    setWindowTitle("Create a new object...");
    FillTypes();
    m_pName->setText(ProposeName(scene));
    m_pName->selectAll();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCreateObjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCreateObjectDialog::reject);
    // A double click on a kind is its OK.
    connect(m_pTypes, &QListWidget::itemDoubleClicked, this, &CCreateObjectDialog::accept);

    auto* nameLabel = new QLabel("&Name:", this);
    nameLabel->setBuddy(m_pName);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTypes, 1);
    layout->addWidget(nameLabel);
    layout->addWidget(m_pName);
    layout->addWidget(buttons);
    resize(460, 520);
    m_pName->setFocus();
}

void CCreateObjectDialog::FillTypes() {
    m_pTypes->setIconSize(QSize(32, 32));
    m_pTypes->setSpacing(2);
    m_pTypes->setWordWrap(true);
    for (size_t position = 0; position < Entries().size(); ++position) {
        const SEntry& entry = Entries()[position];
        auto* item = new QListWidgetItem(CObjectIcons::ForType(entry.type), entry.text, m_pTypes);
        item->setData(Qt::UserRole, static_cast<int>(position));
    }
    m_pTypes->setCurrentRow(0);
}

QString CCreateObjectDialog::ObjectName() const {
    return m_pName->text();
}

QString CCreateObjectDialog::SelectedType() const {
    const QListWidgetItem* item = m_pTypes->currentItem();
    if (item == nullptr) {
        return QString();
    }
    return Entries()[static_cast<size_t>(item->data(Qt::UserRole).toInt())].type;
}

QString CCreateObjectDialog::ProblemWithName(const QString& name) const {
    if (name.isEmpty()) {
        return "You have to give a name for the object!";
    }
    if (m_Scene.IsObjectExisting(ToCString(name))) {
        return "An object of this name already exists in this scene!";
    }
    return QString();
}

void CCreateObjectDialog::accept() {
    const QString problem = ProblemWithName(ObjectName());
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, kMessageTitle, problem);
        return;  // the dialog stays open
    }
    if (SelectedType().isEmpty()) {
        return;
    }
    QDialog::accept();
}
