#include "properties/CTextPage.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

#include "controls/CNumberField.h"
#include "controls/QtConvert.h"
#include "objects/CBmpFonts.h"
#include "properties/CFileNameField.h"

namespace {

using TZoom = std::array<float, 2>;

TZoom ReadZoom(CBmpFonts& text) {
    TZoom zoom{};
    text.GetZoomFactor(zoom[0], zoom[1]);
    return zoom;
}

void WriteZoom(CBmpFonts& text, const TZoom& zoom) {
    text.SetZoomFactor(zoom[0], zoom[1]);
}

// A group box holding one widget.
QGroupBox* GroupOf(const QString& title, QWidget* content, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

}  // namespace

CTextPage::CTextPage(QWidget* parent)
    : CFieldPage(parent),
      m_pText(new QLineEdit(this)),
      m_pFont(new CFileNameField("Brennox Fonts Files (*.bnf)", this)) {
    setWindowTitle("Text");
    auto* page = new QVBoxLayout(this);
    auto* form = NewForm();
    m_pSize[0] = AddRow(*form, "X Size:", false);
    m_pSize[1] = AddRow(*form, "Y Size:", false);
    page->addLayout(form);
    page->addWidget(GroupOf("Text", m_pText, this));
    page->addWidget(GroupOf("Font", m_pFont, this));
    page->addStretch(1);

    for (int axis = 0; axis < 2; ++axis) {
        connect(m_pSize[axis], &CNumberField::ValueCommitted, this,
                [this, axis](double value) { ApplySize(axis, value); });
    }
    // textEdited, not textChanged: Refresh putting the object's text in
    // must not write it back.
    connect(m_pText, &QLineEdit::textEdited, this, &CTextPage::ApplyText);
    m_pText->installEventFilter(this);
    connect(m_pFont, &CFileNameField::FileChosen, this, &CTextPage::ApplyFont);
}

bool CTextPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pText && event->type() == QEvent::FocusIn) {
        StartRun();
    }
    return CFieldPage::eventFilter(watched, event);
}

void CTextPage::Refresh() {
    CBmpFonts* text = ObjectAs<CBmpFonts>();
    if (text == nullptr) {
        return;
    }
    TZoom zoom{};
    CString content;
    CString font;
    {
        CSceneLock lock(Document().Scene());
        zoom = ReadZoom(*text);
        content = text->GetText();
        font = text->GetTexture(0);
    }
    m_pSize[0]->SetValue(zoom[0]);
    m_pSize[1]->SetValue(zoom[1]);
    // Each keystroke refreshes the page: setting the same text again would
    // move the cursor to the end.
    const QString shown = ToQString(content);
    if (m_pText->text() != shown) {
        m_pText->setText(shown);
    }
    m_pFont->SetPath(ToQString(font));
}

void CTextPage::ApplySize(int axis, double value) {
    EditPart<CBmpFonts>("Size", ReadZoom, WriteZoom,
                        [axis, value](TZoom& zoom) { zoom[static_cast<size_t>(axis)] = AtLeastZero(value); });
}

void CTextPage::ApplyText(const QString& text) {
    Edit<CBmpFonts>(
        "Text", [](CBmpFonts& o) { return o.GetText(); }, [](CBmpFonts& o, const CString& t) { o.SetText(t); },
        ToCString(text));
}

void CTextPage::ApplyFont(const QString& path) {
    StartRun();  // each font chosen is an undo step of its own
    Edit<CBmpFonts>(
        "Font", [](CBmpFonts& o) { return o.GetTexture(0); },
        [](CBmpFonts& o, const CString& name) { o.SetTexture(name, 0); }, ToCString(path));
}
