#pragma once
// "Export a 3D Scene...": the log of one export, line by line as its steps
// happen, some lines in bold (results, errors, the verdict). "OK" closes
// it once the export has finished; until then the window cannot be closed,
// but it keeps painting and scrolling while the installer is built.
//
//   CExportLog::Show(document.Scene(), request, this);   // modal, returns when closed

#include <QDialog>
#include <QString>

class CExportRun;
class CScene;
class QPushButton;
class QTextEdit;
struct SExportRequest;

class CExportLog : public QDialog {
    Q_OBJECT

public:
    explicit CExportLog(QWidget* parent = nullptr);

    // Runs the export in a new log window and returns when the user closed
    // it; true when the export succeeded.
    static bool Show(CScene& scene, const SExportRequest& request, QWidget* parent);

    // Shows the run's lines and lets the window close once it finished.
    void Follow(CExportRun& run);
    // Adds one paragraph at the end.
    void AppendLine(const QString& text, bool bold);

    QTextEdit* TextEdit() const { return m_Text; }
    QPushButton* OkButton() const { return m_Ok; }
    bool IsRunFinished() const { return m_RunFinished; }

public slots:
    void reject() override;

signals:
    void RunFinished(bool succeeded);

private:
    void OnRunFinished(bool succeeded);

    QTextEdit* m_Text;
    QPushButton* m_Ok;
    bool m_RunFinished = true;
    bool m_FirstLine = true;
};
