#pragma once
// The "Basic" page of a renderable object: its name, position, angles
// (shown in the unit of the "angles" setting), scale, fill mode, alpha,
// colour and texture. Keyed values are those of the object's current
// keyframe.
//
// Each change is one undoable edit of the document, made at once: a spin
// click, a choice in the combo box, a button, or a field that loses the
// focus after it was typed in. Values the object does not take are
// corrected before they are written (a scale below 0.00001, an alpha
// outside 0 .. 1), and the page then shows what the object holds.

#include <QString>

#include "objects/ObjectTypes.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"
#include "properties/CObjectPage.h"

class CBaseObject;
class CColorSwatch;
class CNumberField;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

class CBasicPage : public CObjectPage {
    Q_OBJECT

public:
    explicit CBasicPage(QWidget* parent = nullptr);

    // 0 degrees, 1 grads, 2 radians (CAngleUnits); shows the angles again.
    void SetAngleUnit(int unit);
    int AngleUnit() const { return m_AngleUnit; }

    void Refresh() override;

    QLineEdit* NameEdit() const { return m_pName; }
    CNumberField* PositionField(int axis) const { return m_pPosition[axis]; }
    CNumberField* AngleField(int axis) const { return m_pAngle[axis]; }
    CNumberField* ScaleField() const { return m_pScale; }
    QComboBox* FillModeBox() const { return m_pFillMode; }
    CNumberField* AlphaField() const { return m_pAlpha; }
    CColorSwatch* Swatch() const { return m_pSwatch; }
    QPushButton* ChangeColorButton() const { return m_pChangeColor; }
    QCheckBox* TextureCheck() const { return m_pTextureCheck; }
    QLineEdit* TextureEdit() const { return m_pTextureFile; }
    QPushButton* TextureButton() const { return m_pBrowseTexture; }

public slots:
    // "Change..." and a click on the swatch: the colour dialog.
    void ChooseColor();
    // "...": the file dialog for the texture.
    void ChooseTexture();

private:
    // What Refresh read from the object, under the scene lock.
    struct SShown {
        QString name;
        D3DXVECTOR3 pivot{0.0f, 0.0f, 0.0f};
        D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
        D3DXVECTOR3 rotation{0.0f, 0.0f, 0.0f};
        float scale = 1.0f;
        float alpha = 1.0f;
        TFillMode fillMode = FM_SOLID;
        D3DCOLORVALUE color{1.0f, 1.0f, 1.0f, 1.0f};
        bool drawTexture = false;
        QString texture;
        bool isFont = false;
    };

    void BuildLayout();
    void ConnectFields();
    CNumberField* AddField(double step, int decimals);
    CBaseObject* Base() const;
    bool ReadShown(SShown& shown);
    void ShowValues();
    void ShowNothing();
    void UpdateTextureControls();

    void CommitName();
    void CommitPosition(int axis, double value);
    void CommitAngle(int axis, double value);
    void CommitScale(double value);
    void CommitFillMode(int index);
    void CommitAlpha(double value);
    void CommitTextureCheck(bool checked);
    void WriteTexture(const QString& path, bool draw);

    int m_AngleUnit = 0;
    SShown m_Shown;
    // The texture's folder, kept for the next file dialog; the field shows
    // the file name only.
    QString m_TextureFolder;
    QString m_TextureName;

    QGridLayout* m_pLayout;
    QLineEdit* m_pName;
    CNumberField* m_pPosition[3];
    CNumberField* m_pAngle[3];
    CNumberField* m_pScale;
    QComboBox* m_pFillMode;
    CNumberField* m_pAlpha;
    CColorSwatch* m_pSwatch;
    QPushButton* m_pChangeColor;
    QCheckBox* m_pTextureCheck;
    QLineEdit* m_pTextureFile;
    QPushButton* m_pBrowseTexture;
};
