#include "export/CExportLog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "export/CExportRun.h"

CExportLog::CExportLog(QWidget* parent)
    : QDialog(parent), m_Text(new QTextEdit(this)), m_Ok(new QPushButton("OK", this)) {
    setWindowTitle("Export a 3D Scene...");
    m_Text->setReadOnly(true);
    m_Text->setAcceptRichText(false);
    m_Text->setLineWrapMode(QTextEdit::WidgetWidth);
    QFont font = m_Text->font();
    font.setPointSize(10);
    m_Text->setFont(font);

    m_Ok->setDefault(true);
    connect(m_Ok, &QPushButton::clicked, this, &CExportLog::accept);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(m_Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Text, 1);
    layout->addLayout(buttons);
    resize(520, 320);
}

bool CExportLog::Show(CScene& scene, const SExportRequest& request, QWidget* parent) {
    CExportLog log(parent);
    CExportRun run(scene, request);
    log.Follow(run);
    // The run starts once the window is on screen, so that its first line
    // is seen before the engine writes.
    QTimer::singleShot(0, &run, &CExportRun::Start);
    log.exec();
    return run.Succeeded();
}

void CExportLog::Follow(CExportRun& run) {
    m_RunFinished = run.IsFinished();
    m_Ok->setEnabled(m_RunFinished);
    connect(&run, &CExportRun::LineAdded, this, &CExportLog::AppendLine);
    connect(&run, &CExportRun::Finished, this, &CExportLog::OnRunFinished);
}

void CExportLog::AppendLine(const QString& text, bool bold) {
    QTextCursor cursor(m_Text->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_FirstLine) {
        cursor.insertBlock();
    }
    m_FirstLine = false;
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.setBlockCharFormat(format);
    cursor.insertText(text, format);
    m_Text->verticalScrollBar()->setValue(m_Text->verticalScrollBar()->maximum());
}

void CExportLog::OnRunFinished(bool succeeded) {
    m_RunFinished = true;
    m_Ok->setEnabled(true);
    m_Ok->setFocus();
    emit RunFinished(succeeded);
}

void CExportLog::reject() {
    // Escape and the window's close button wait for the export's end.
    if (m_RunFinished) {
        QDialog::reject();
    }
}
