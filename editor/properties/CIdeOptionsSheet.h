#pragma once
// "IDE Properties": the editor's own settings. "General" holds the unit of
// the angles the property pages show; "3D View" the grid, the inverted
// vertical rotation, the frame-rate counter and the view's size (read once
// at start, hence the note). The sheet reads the settings when it opens
// and OK writes them; the frame then applies them to the view and pages.
//
// The frame-rate counter is not one of the stored settings: the box opens
// with the state of the engine's overlay, and FpsCounter() is what the
// frame gives the overlay after OK.

#include <QDialog>
#include <array>

class CEditorSettings;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

class CIdeOptionsSheet : public QDialog {
    Q_OBJECT

public:
    // The view sizes in the order of their buttons.
    static constexpr std::array<int, 4> kViewSizes = {640, 800, 1024, 1280};

    explicit CIdeOptionsSheet(CEditorSettings& settings, QWidget* parent = nullptr);

    // The state of the "Frame Per Seconds (FPS) Counter" box.
    bool FpsCounter() const;
    // The button of a stored view size; sizes without one choose the first.
    static int ViewSizeButton(int viewSize);

    QTabWidget* Tabs() const { return m_pTabs; }
    QComboBox* AnglesBox() const { return m_pAngles; }
    QCheckBox* GridCheck() const { return m_pGrid; }
    QCheckBox* InvertAxisCheck() const { return m_pInvertAxis; }
    QCheckBox* FpsCounterCheck() const { return m_pFpsCounter; }
    QRadioButton* ViewSizeRadio(int button) const { return m_pViewSize[button]; }
    QPushButton* OkButton() const { return m_pOk; }
    QPushButton* CancelButton() const { return m_pCancel; }

public slots:
    // OK: writes the settings and closes.
    void accept() override;

private:
    QWidget* MakeGeneralPage();
    QWidget* Make3DViewPage();
    void ShowSettings();
    void WriteSettings();

    CEditorSettings& m_Settings;
    QTabWidget* m_pTabs;
    QComboBox* m_pAngles = nullptr;
    QCheckBox* m_pGrid = nullptr;
    QCheckBox* m_pInvertAxis = nullptr;
    QCheckBox* m_pFpsCounter = nullptr;
    std::array<QRadioButton*, kViewSizes.size()> m_pViewSize{};
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
};
