#pragma once
// The "Fog" page of "Scene Properties": fog or no fog and, with fog, its
// colour and the distances where it starts and where it is complete. The
// fog's density is not shown and stays as it is. While there is no fog the
// colour and the distances are hidden.

#include <QWidget>

#include "document/SSceneSettings.h"

class CColorSwatch;
class CNumberField;
class QComboBox;
class QLabel;
class QPushButton;

class CFogPage : public QWidget {
    Q_OBJECT

public:
    explicit CFogPage(QWidget* parent = nullptr);

    void Show(const SSceneSettings& settings);
    void Take(SSceneSettings& settings) const;

    QComboBox* TypeBox() const { return m_pType; }
    CColorSwatch* Swatch() const { return m_pSwatch; }
    QPushButton* ChangeColorButton() const { return m_pChangeColor; }
    CNumberField* StartField() const { return m_pStart; }
    CNumberField* EndField() const { return m_pEnd; }

public slots:
    // "Change..." and a click on the swatch: the colour dialog.
    void ChooseColor();

signals:
    void Changed();

private:
    CNumberField* AddDistanceField();
    void OnTypeChosen(int index);
    // Distances below 0 become 0.
    void CommitDistance(CNumberField* field, float& distance, double value);
    void ShowFogControls();

    bool m_Fog = false;
    D3DCOLORVALUE m_Color{0.0f, 0.0f, 0.0f, 1.0f};
    float m_Start = 0.0f;
    float m_End = 0.0f;

    QComboBox* m_pType;
    QLabel* m_pColorLabel;
    CColorSwatch* m_pSwatch;
    QPushButton* m_pChangeColor;
    QLabel* m_pStartLabel;
    CNumberField* m_pStart;
    QLabel* m_pEndLabel;
    CNumberField* m_pEnd;
};
