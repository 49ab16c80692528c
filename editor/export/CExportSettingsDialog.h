#pragma once
// "Export Settings": the kind of file to make, its display settings and the
// installer. "Export..." stores the display settings in the scene (one
// undoable step), asks for the file to write and runs the export in its log
// window; the dialog closes afterwards, also when the file was not chosen
// (the settings stay stored). "Cancel" stores nothing.
//
// The controls start at their defaults each time. "Fullscreen" shows only
// for a "Standard Executable", the installer's controls only for a "Screen
// Saver"; the window title shows while "Fullscreen" is clear; the
// installer's name is enabled while "Generate an Installer Wizard" is
// checked.
//
//   CExportSettingsDialog::Run(document, this);     // File > Export...

#include <QDialog>
#include <QString>

#include "export/SExportSettings.h"

class CEditorDocument;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CExportSettingsDialog : public QDialog {
    Q_OBJECT

public:
    // The whole export of the document's scene, modal on parent.
    static void Run(CEditorDocument& document, QWidget* parent);

    explicit CExportSettingsDialog(CEditorDocument& document, QWidget* parent = nullptr);

    // The values of the controls.
    SExportSettings Settings() const;

    QComboBox* TypeCombo() const { return m_Type; }
    QComboBox* ResolutionCombo() const { return m_Resolution; }
    QCheckBox* FullscreenCheck() const { return m_Fullscreen; }
    QLabel* TitleLabel() const { return m_TitleLabel; }
    QLineEdit* TitleEdit() const { return m_Title; }
    QCheckBox* InstallerCheck() const { return m_Installer; }
    QLabel* InstallerNameLabel() const { return m_InstallerNameLabel; }
    QLineEdit* InstallerNameEdit() const { return m_InstallerName; }
    QWidget* PreviewRow() const { return m_Preview; }
    QPushButton* ExportButton() const { return m_Export; }

public slots:
    // "Export...".
    void accept() override;

private:
    void BuildControls();
    void UpdateTypeControls();
    void UpdateTitleControls();
    void UpdateInstallerControls();
    // The save dialog for the settings' kind of file; empty when cancelled.
    QString ChooseOutputFile(const SExportSettings& settings);

    CEditorDocument& m_Document;
    QComboBox* m_Type = nullptr;
    QComboBox* m_Resolution = nullptr;
    QCheckBox* m_Fullscreen = nullptr;
    QLabel* m_TitleLabel = nullptr;
    QLineEdit* m_Title = nullptr;
    QCheckBox* m_Installer = nullptr;
    QLabel* m_InstallerNameLabel = nullptr;
    QLineEdit* m_InstallerName = nullptr;
    QWidget* m_Preview = nullptr;
    QPushButton* m_Export = nullptr;
};
