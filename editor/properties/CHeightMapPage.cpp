#include "properties/CHeightMapPage.h"

#include <QFormLayout>

#include "controls/CNumberField.h"
#include "controls/QtConvert.h"
#include "objects/CHeightMapObject.h"
#include "properties/CFileNameField.h"

CHeightMapPage::CHeightMapPage(QWidget* parent)
    : CFieldPage(parent), m_pMapFile(new CFileNameField("Raw Bitmap Images (*.raw)", this)) {
    setWindowTitle("Geometry");
    auto* form = NewForm(this);
    m_pHeight = AddRow(*form, "Height:", false);
    // Out of range: the field's message, then the value as it stands.
    m_pHeight->SetRange(kMinimumHeight, kMaximumHeight);
    form->addRow("Map File:", m_pMapFile);

    connect(m_pHeight, &CNumberField::ValueCommitted, this, [this](double value) {
        Edit<CHeightMapObject>(
            "Height", [](CHeightMapObject& o) { return o.GetMaxAmplitude(); },
            [](CHeightMapObject& o, float height) { o.SetMaxAmplitude(height); }, static_cast<float>(value));
    });
    connect(m_pMapFile, &CFileNameField::FileChosen, this, &CHeightMapPage::ApplyMapFile);
}

void CHeightMapPage::Refresh() {
    CHeightMapObject* map = ObjectAs<CHeightMapObject>();
    if (map == nullptr) {
        return;
    }
    float height = 0.0f;
    CString file;
    {
        CSceneLock lock(Document().Scene());
        height = map->GetMaxAmplitude();
        file = map->GetHeightMapFilename();
    }
    m_pHeight->SetValue(height);
    m_pMapFile->SetPath(ToQString(file));
}

void CHeightMapPage::ApplyMapFile(const QString& path) {
    StartRun();  // each file chosen is an undo step of its own
    Edit<CHeightMapObject>(
        "Map File", [](CHeightMapObject& o) { return o.GetHeightMapFilename(); },
        [](CHeightMapObject& o, const CString& name) { o.SetHeightMapFilename(name); }, ToCString(path));
}
