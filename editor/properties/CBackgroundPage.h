#pragma once
// The "Background" page of "Scene Properties": what is drawn behind the
// scene. A plain colour, a bitmap stretched over the view or a sky box
// with one picture per face; only the controls of the chosen type show.
// The file fields show file names; the page keeps the full paths, and
// "Clear" empties all seven, so that OK really takes the pictures away.

#include <QString>
#include <QWidget>
#include <array>

#include "document/SSceneSettings.h"

class CColorSwatch;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QStackedWidget;

class CBackgroundPage : public QWidget {
    Q_OBJECT

public:
    // The six sky box faces and the bitmap, as the page numbers its files.
    static constexpr int kImageFile = SSceneSettings::kSkyFaces;
    static constexpr int kFiles = kImageFile + 1;

    explicit CBackgroundPage(QWidget* parent = nullptr);

    void Show(const SSceneSettings& settings);
    void Take(SSceneSettings& settings) const;

    QComboBox* TypeBox() const { return m_pType; }
    // The panel of the chosen type (the others are hidden).
    QWidget* CurrentPanel() const;
    CColorSwatch* Swatch() const { return m_pSwatch; }
    QPushButton* ChangeColorButton() const { return m_pChangeColor; }
    // file: an ESkyFace or kImageFile.
    QLineEdit* FileEdit(int file) const { return m_pFileName[file]; }
    QPushButton* BrowseButton(int file) const { return m_pBrowse[file]; }
    QPushButton* ClearButton() const { return m_pClear; }

public slots:
    // "Change..." and a click on the swatch: the colour dialog.
    void ChooseColor();
    // A "..." button: the file dialog for that file.
    void ChooseFile(int file);
    // "Clear": no pictures at all.
    void ClearFiles();

signals:
    void Changed();

private:
    QWidget* MakeColorPanel();
    QWidget* MakeImagePanel();
    QWidget* MakeSkyBoxPanel();
    // One "<label> [name] [...]" row of a file into grid.
    void AddFileRow(QGridLayout& grid, int row, const char* label, int file);
    void OnTypeChosen(int index);
    void ShowFiles();
    void ShowColor();

    SSceneSettings::EBackground m_Type = SSceneSettings::EBackground::PlainColor;
    D3DCOLORVALUE m_Color{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<QString, kFiles> m_Paths;

    QComboBox* m_pType;
    QStackedWidget* m_pPanels;
    CColorSwatch* m_pSwatch = nullptr;
    QPushButton* m_pChangeColor = nullptr;
    std::array<QLineEdit*, kFiles> m_pFileName{};
    std::array<QPushButton*, kFiles> m_pBrowse{};
    QPushButton* m_pClear;
};
