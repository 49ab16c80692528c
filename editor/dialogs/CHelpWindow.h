#pragma once
// The editor's user manual: HTML pages with pictures shipped in
// media/help beside the program, shown offline in a window of its own with
// back, forward and contents buttons. A missing manual says where it was
// looked for.

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kStartPage = "index.html";

    // The manual of the running program (media/help beside it, or in the
    // installed data folder), or `folder` when given.
    explicit CHelpWindow(const QString& folder = QString(), QWidget* parent = nullptr);

    // Where the running program's manual lives.
    static QString DefaultFolder();
    const QString& Folder() const { return m_Folder; }
    bool HasManual() const { return m_HasManual; }
    QTextBrowser* Browser() const { return m_Browser; }

public slots:
    void ShowContents();

private:
    QString m_Folder;
    bool m_HasManual = false;
    QTextBrowser* m_Browser;
};
