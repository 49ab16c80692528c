#pragma once
// "Fonts Importer" (Tools > "&Font Importer..."): turns an installed font
// into a bitmap font for text objects. The fields (the font from the system
// font dialog and its size, the texture size, the text colour, the preview's
// background and the characters) take effect on "Refresh", which rebuilds
// the glyph bitmaps and the preview. "Save Fonts..." refreshes, asks for a
// file name and writes the ".bnf" descriptor with the ".png" texture beside
// it.
//
// Characters outside 32..126 are refused with a message naming them.
// Glyphs that do not fit the texture are reported on a line below the
// preview, not in a message box, so that the user can refresh again and
// again while finding a size that fits.
//
//   CFontImporterDialog dialog(this);
//   dialog.exec();

#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QString>

#include "fontimport/CFontImporter.h"

class CFontPreview;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CFontImporterDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Fonts Importer";
    static constexpr const char* kSaveFilter = "Brennox Fonts Files (*.bnf)";
    static constexpr const char* kAlphaMessage = "cannot save alpha channel";

    explicit CFontImporterDialog(QWidget* parent = nullptr);

    // The dialog's icon: a glyph sheet with a large letter on it.
    static QIcon Icon();

    const CFontImporter& Importer() const { return m_Importer; }

    // Takes over a font confirmed in the font dialog: its family, its size in
    // whole points (tenths of a point divided by ten), bold only at weight
    // exactly 700, and italic.
    void TakeFont(const QFont& font);
    // The font the fields describe, for the font dialog to start from.
    QFont FieldFont() const;
    // The text colour of the next build.
    void SetTextColor(const QColor& color);
    QColor TextColor() const { return m_TextColor; }

    // Saves the last build under the chosen name (".bnf" appended unless it
    // ends in exactly that; the texture beside it). Failures are shown in a
    // message box; true when both files were written.
    bool WriteFiles(const QString& chosenPath);

    QLineEdit* NameEdit() const { return m_pName; }
    QSpinBox* SizeBox() const { return m_pSize; }
    QPushButton* ChooseButton() const { return m_pChoose; }
    QRadioButton* SmallTextureButton() const { return m_pTexture256; }
    QRadioButton* LargeTextureButton() const { return m_pTexture512; }
    QPushButton* ColorSample() const { return m_pColorSample; }
    QPushButton* SetColorButton() const { return m_pSetColor; }
    QRadioButton* WhiteBackgroundButton() const { return m_pWhite; }
    QRadioButton* BlackBackgroundButton() const { return m_pBlack; }
    QLineEdit* CharactersEdit() const { return m_pCharacters; }
    CFontPreview* Preview() const { return m_pPreview; }
    QLabel* FaceLine() const { return m_pFace; }
    QLabel* WarningLine() const { return m_pWarnings; }
    QPushButton* RefreshButton() const { return m_pRefresh; }
    QPushButton* SaveButton() const { return m_pSave; }
    QPushButton* ExitButton() const { return m_pExit; }

public slots:
    // "Choose...": the system font dialog; a cancelled dialog changes nothing.
    void ChooseFont();
    // "Set Color..." and a click on the colour sample.
    void ChooseColor();
    // "Refresh": rebuilds from the fields. False, with a message, when the
    // fields are refused or the font cannot be built; the last build stays.
    bool Refresh();
    // "Save Fonts...": refreshes, asks for the file name, writes the files.
    // False when anything was refused or failed, or the user cancelled.
    bool SaveFonts();

private:
    QLayout* MakeFields();
    QLayout* MakeButtons();
    // The fields as settings; false with the reason in problem.
    bool ReadFields(CFontImportSettings& settings, QString& problem) const;
    // Builds from settings; false with the reason in problem.
    bool Build(const CFontImportSettings& settings, QString& problem);
    void ShowBuild(const SFontImportResult& result);
    void ShowMessage(const QString& text);

    CFontImporter m_Importer;
    QColor m_TextColor = Qt::black;
    bool m_bBold = false;  // from the font dialog, as the importer's fields show no style
    bool m_bItalic = false;
    QString m_SaveFolder;  // where the save dialog opens; the last folder saved to

    QLineEdit* m_pName;
    QSpinBox* m_pSize;
    QPushButton* m_pChoose;
    QRadioButton* m_pTexture256;
    QRadioButton* m_pTexture512;
    QPushButton* m_pColorSample;
    QPushButton* m_pSetColor;
    QRadioButton* m_pWhite;
    QRadioButton* m_pBlack;
    QLineEdit* m_pCharacters;
    CFontPreview* m_pPreview;
    QLabel* m_pFace;
    QLabel* m_pWarnings;
    QPushButton* m_pRefresh;
    QPushButton* m_pSave;
    QPushButton* m_pExit;
};
