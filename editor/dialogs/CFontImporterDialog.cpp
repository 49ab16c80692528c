#include "dialogs/CFontImporterDialog.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/CFontPreview.h"
#include "fontimport/CFontCharacterCheck.h"

namespace {

const char* const kMessageTitle = "Brennox Skyloom";
constexpr int kBoldWeight = 700;
constexpr int kScreenDpi = 96;
constexpr int kSampleSide = 24;

// Qt names a family that several foundries provide "Family [Foundry]";
// fontconfig knows it by the family alone.
QString FamilyWithoutFoundry(const QString& family) {
    const qsizetype bracket = family.lastIndexOf(QStringLiteral(" ["));
    return family.endsWith(u']') && bracket > 0 ? family.left(bracket) : family;
}

// Whole points: tenths of a point divided by ten, as the font dialog of the
// Windows program reported them. A font sized in pixels counts at 96 dpi.
int WholePoints(const QFont& font) {
    if (font.pointSizeF() > 0) {
        return static_cast<int>(std::lround(font.pointSizeF() * 10.0)) / 10;
    }
    return font.pixelSize() * 72 / kScreenDpi;
}

QPixmap DrawIconPixmap(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = side / 32.0;

    // The sheet: a dark blue tile ruled into glyph cells, like the texture
    // the importer lays out.
    const QRectF sheet(1 * unit, 1 * unit, 30 * unit, 30 * unit);
    QLinearGradient shade(sheet.topLeft(), sheet.bottomRight());
    shade.setColorAt(0.0, QColor(48, 86, 160));
    shade.setColorAt(1.0, QColor(20, 36, 84));
    painter.setPen(QPen(QColor(12, 22, 52), unit));
    painter.setBrush(shade);
    painter.drawRoundedRect(sheet, 4 * unit, 4 * unit);
    painter.setPen(QPen(QColor(255, 255, 255, 60), unit * 0.75));
    for (int line = 1; line < 4; ++line) {
        const qreal at = sheet.left() + line * sheet.width() / 4;
        painter.drawLine(QPointF(sheet.left() + 2 * unit, at), QPointF(sheet.right() - 2 * unit, at));
    }

    // The letter, white with a soft drop shadow.
    QFont letterFont(QStringLiteral("Liberation Serif"));
    letterFont.setPixelSize(static_cast<int>(26 * unit));
    letterFont.setBold(true);
    QPainterPath letter;
    letter.addText(0, 0, letterFont, QStringLiteral("A"));
    const QRectF bounds = letter.boundingRect();
    letter.translate(sheet.center() - bounds.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawPath(letter.translated(unit, unit));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawPath(letter);

    // A small colour dot: the text colour the importer paints with.
    painter.setBrush(QColor(240, 176, 40));
    painter.setPen(QPen(QColor(12, 22, 52), unit * 0.75));
    painter.drawEllipse(QPointF(sheet.right() - 6 * unit, sheet.bottom() - 6 * unit), 3.5 * unit, 3.5 * unit);
    return pixmap;
}

// The warning line wraps at blanks only; a long list of characters that do
// not fit would run off its edge. Zero-width spaces let such runs break
// anywhere.
QString WrapAnywhere(const QString& text) {
    constexpr qsizetype kLongRun = 24;
    QString wrapped;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongRun) {
            wrapped += QChar(0x200B);
        }
        wrapped += c;
    }
    return wrapped;
}

QIcon ColorIcon(const QColor& color) {
    QPixmap pixmap(kSampleSide, kSampleSide);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, kSampleSide - 1, kSampleSide - 1);
    return QIcon(pixmap);
}

}  // namespace

CFontImporterDialog::CFontImporterDialog(QWidget* parent)
    : QDialog(parent),
      m_pName(new QLineEdit(this)),
      m_pSize(new QSpinBox(this)),
      m_pChoose(new QPushButton("Choose...", this)),
      m_pTexture256(new QRadioButton("256 x 256", this)),
      m_pTexture512(new QRadioButton("512 x 512", this)),
      m_pColorSample(new QPushButton(this)),
      m_pSetColor(new QPushButton("Set Color...", this)),
      m_pWhite(new QRadioButton("White Background", this)),
      m_pBlack(new QRadioButton("Black Background", this)),
      m_pCharacters(new QLineEdit(this)),
      m_pPreview(new CFontPreview(this)),
      m_pFace(new QLabel(this)),
      m_pWarnings(new QLabel(this)),
      m_pRefresh(new QPushButton("Refresh", this)),
      m_pSave(new QPushButton("Save Fonts...", this)),
      m_pExit(new QPushButton("E&xit", this)) {
    setWindowTitle(kTitle);
    setWindowIcon(Icon());

    auto* columns = new QHBoxLayout;
    columns->addLayout(MakeFields());
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(m_pPreview);
    previewColumn->addWidget(m_pFace);
    previewColumn->addWidget(m_pWarnings);
    previewColumn->addStretch(1);
    columns->addLayout(previewColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(MakeButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The radio buttons are checked once they sit in their groups: before,
    // as siblings, checking one would clear the others.
    const CFontImportSettings defaults;
    m_pName->setReadOnly(true);
    m_pName->setText(QString::fromStdString(defaults.faceName));
    m_pSize->setRange(1, CFontImportSettings::kMaxPointSize);
    m_pSize->setValue(defaults.pointSize);
    m_pTexture256->setChecked(true);
    m_pWhite->setChecked(true);
    SetTextColor(Qt::black);

    connect(m_pChoose, &QPushButton::clicked, this, &CFontImporterDialog::ChooseFont);
    connect(m_pSetColor, &QPushButton::clicked, this, &CFontImporterDialog::ChooseColor);
    connect(m_pColorSample, &QPushButton::clicked, this, &CFontImporterDialog::ChooseColor);
    connect(m_pRefresh, &QPushButton::clicked, this, &CFontImporterDialog::Refresh);
    connect(m_pSave, &QPushButton::clicked, this, &CFontImporterDialog::SaveFonts);
    connect(m_pExit, &QPushButton::clicked, this, &CFontImporterDialog::reject);

    // The first build happens without message boxes: a font that cannot be
    // built shows on the warning line.
    QString problem;
    if (!Build(m_Importer.Settings(), problem)) {
        m_pWarnings->setText(problem);
    }
}

QIcon CFontImporterDialog::Icon() {
    QIcon icon;
    for (int side : {16, 32, 48}) {
        icon.addPixmap(DrawIconPixmap(side));
    }
    return icon;
}

QLayout* CFontImporterDialog::MakeFields() {
    auto* font = new QGroupBox("Font", this);
    auto* fontGrid = new QGridLayout(font);
    auto* nameLabel = new QLabel("Name", font);
    auto* sizeLabel = new QLabel("Size", font);
    fontGrid->addWidget(nameLabel, 0, 0);
    fontGrid->addWidget(m_pName, 0, 1);
    fontGrid->addWidget(sizeLabel, 1, 0);
    fontGrid->addWidget(m_pSize, 1, 1);
    fontGrid->addWidget(m_pChoose, 2, 1, Qt::AlignRight);

    auto* texture = new QGroupBox("Texture Size", this);
    auto* textureRow = new QHBoxLayout(texture);
    textureRow->addWidget(m_pTexture256);
    textureRow->addWidget(m_pTexture512);
    auto* textureGroup = new QButtonGroup(texture);
    textureGroup->addButton(m_pTexture256);
    textureGroup->addButton(m_pTexture512);

    auto* color = new QGroupBox("Text Color", this);
    auto* colorRow = new QHBoxLayout(color);
    m_pColorSample->setFlat(true);
    m_pColorSample->setIconSize(QSize(kSampleSide, kSampleSide));
    m_pColorSample->setFixedSize(kSampleSide + 8, kSampleSide + 8);
    m_pColorSample->setToolTip("Click to choose the text color");
    m_pColorSample->setAutoDefault(false);
    colorRow->addWidget(m_pColorSample);
    colorRow->addWidget(m_pSetColor, 1);

    auto* background = new QGroupBox("Preview", this);
    auto* backgroundColumn = new QVBoxLayout(background);
    backgroundColumn->addWidget(m_pWhite);
    backgroundColumn->addWidget(m_pBlack);
    auto* backgroundGroup = new QButtonGroup(background);
    backgroundGroup->addButton(m_pWhite);
    backgroundGroup->addButton(m_pBlack);

    auto* charactersLabel = new QLabel("Characters", this);
    m_pCharacters->setPlaceholderText("every character from \" \" to \"~\"");

    auto* fields = new QVBoxLayout;
    fields->addWidget(font);
    fields->addWidget(texture);
    fields->addWidget(color);
    fields->addWidget(background);
    fields->addWidget(charactersLabel);
    fields->addWidget(m_pCharacters);
    fields->addStretch(1);

    m_pFace->setWordWrap(true);
    m_pFace->setForegroundRole(QPalette::PlaceholderText);
    m_pWarnings->setWordWrap(true);
    m_pWarnings->setMaximumWidth(CFontPreview::kSide);
    m_pFace->setMaximumWidth(CFontPreview::kSide);
    QPalette warningColors = m_pWarnings->palette();
    warningColors.setColor(QPalette::WindowText, QColor(176, 32, 0));
    m_pWarnings->setPalette(warningColors);
    return fields;
}

QLayout* CFontImporterDialog::MakeButtons() {
    // Return in the characters field refreshes; only "Refresh" is a
    // default button.
    for (QPushButton* button : {m_pChoose, m_pSetColor, m_pSave, m_pExit}) {
        button->setAutoDefault(false);
    }
    m_pRefresh->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_pRefresh);
    row->addWidget(m_pSave);
    row->addWidget(m_pExit);
    return row;
}

void CFontImporterDialog::TakeFont(const QFont& font) {
    m_pName->setText(FamilyWithoutFoundry(font.family()));
    m_pSize->setValue(WholePoints(font));
    m_bBold = font.weight() == kBoldWeight;
    m_bItalic = font.italic();
}

QFont CFontImporterDialog::FieldFont() const {
    return QFont(m_pName->text(), m_pSize->value(), m_bBold ? QFont::Bold : QFont::Normal, m_bItalic);
}

void CFontImporterDialog::SetTextColor(const QColor& color) {
    m_TextColor = color.toRgb();
    m_pColorSample->setIcon(ColorIcon(m_TextColor));
}

void CFontImporterDialog::ChooseFont() {
    QFontDialog dialog(FieldFont(), this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // Bitmap-only fonts cannot be scaled to every size the importer offers.
    dialog.setOption(QFontDialog::ScalableFonts);
    if (dialog.exec() == QDialog::Accepted) {
        TakeFont(dialog.selectedFont());
    }
}

void CFontImporterDialog::ChooseColor() {
    QColorDialog dialog(m_TextColor, this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted) {
        SetTextColor(dialog.selectedColor());
    }
}

bool CFontImporterDialog::Refresh() {
    CFontImportSettings settings;
    QString problem;
    if (!ReadFields(settings, problem) || !Build(settings, problem)) {
        ShowMessage(problem);
        return false;
    }
    return true;
}

bool CFontImporterDialog::SaveFonts() {
    if (!Refresh()) {
        return false;
    }
    QFileDialog dialog(this, "Save Fonts", m_SaveFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(kSaveFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    m_SaveFolder = QFileInfo(chosen).absolutePath();
    return WriteFiles(chosen);
}

bool CFontImporterDialog::WriteFiles(const QString& chosenPath) {
    const SFontImportResult result = m_Importer.Save(chosenPath.toStdString());
    if (!result.ok) {
        ShowMessage(QString::fromStdString(result.error));
        return false;
    }
    if (result.alphaLost) {
        ShowMessage(kAlphaMessage);
    }
    return true;
}

bool CFontImporterDialog::ReadFields(CFontImportSettings& settings, QString& problem) const {
    const std::string characters = m_pCharacters->text().toStdString();
    if (const std::string refused = CFontCharacterCheck::Message(characters); !refused.empty()) {
        problem = QString::fromStdString(refused);
        return false;
    }
    settings = CFontImportSettings{};
    settings.faceName = m_pName->text().toStdString();
    settings.pointSize = m_pSize->value();
    settings.bold = m_bBold;
    settings.italic = m_bItalic;
    settings.textureSize = m_pTexture512->isChecked() ? 512 : 256;
    settings.textColor = {static_cast<std::uint8_t>(m_TextColor.red()), static_cast<std::uint8_t>(m_TextColor.green()),
                          static_cast<std::uint8_t>(m_TextColor.blue())};
    settings.blackBackground = m_pBlack->isChecked();
    settings.characters = characters;
    return true;
}

bool CFontImporterDialog::Build(const CFontImportSettings& settings, QString& problem) {
    // A failed build leaves the importer without bitmaps: build a copy
    // first, so that the last good build stays shown and savable.
    CFontImporter attempt;
    attempt.Settings() = settings;
    const SFontImportResult result = attempt.Build();
    if (!result.ok) {
        problem = QString::fromStdString(result.error);
        return false;
    }
    m_Importer = std::move(attempt);
    ShowBuild(result);
    return true;
}

void CFontImporterDialog::ShowBuild(const SFontImportResult& result) {
    const CFontBitmaps& bitmaps = m_Importer.GetBitmaps();
    m_pPreview->SetPixels(bitmaps.GetPreview(), bitmaps.GetSize());
    const SFontFace& face = bitmaps.GetFace();
    m_pFace->setText(QStringLiteral("Drawn with %1 %2")
                         .arg(QString::fromStdString(face.family), QString::fromStdString(face.style)));
    QStringList warnings;
    for (const std::string& warning : result.warnings) {
        warnings.push_back(QString::fromStdString(warning));
    }
    m_pWarnings->setText(WrapAnywhere(warnings.join(u'\n')));
}

void CFontImporterDialog::ShowMessage(const QString& text) {
    QMessageBox::warning(this, kMessageTitle, text);
}
