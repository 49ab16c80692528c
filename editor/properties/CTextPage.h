#pragma once
// The "Text" page of a text object: its zoom factors ("X Size:", "Y Size:",
// negatives become 0) and its text at the current keyframe, and the font.
//
// The text is written on every keystroke; what is typed while the field
// keeps the focus is one undo step.

#include "properties/CFieldPage.h"

class CFileNameField;
class CNumberField;
class QLineEdit;

class CTextPage : public CFieldPage {
    Q_OBJECT

public:
    explicit CTextPage(QWidget* parent = nullptr);

    void Refresh() override;

    CNumberField* XSize() const { return m_pSize[0]; }
    CNumberField* YSize() const { return m_pSize[1]; }
    QLineEdit* TextEdit() const { return m_pText; }
    CFileNameField* Font() const { return m_pFont; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplySize(int axis, double value);
    void ApplyText(const QString& text);
    void ApplyFont(const QString& path);

    CNumberField* m_pSize[2];
    QLineEdit* m_pText;
    CFileNameField* m_pFont;
};
