#include "dialogs/CHelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/files/CInstallLayout.h"

CHelpWindow::CHelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_Folder(folder.isEmpty() ? DefaultFolder() : folder),
      m_Browser(new QTextBrowser(this)) {
    setWindowTitle("Pelavor Help");
    resize(760, 680);
    m_Browser->setOpenExternalLinks(true);
    m_Browser->setSearchPaths({m_Folder});

    auto* back = new QToolButton(this);
    back->setArrowType(Qt::LeftArrow);
    back->setToolTip("Back");
    back->setEnabled(false);
    auto* forward = new QToolButton(this);
    forward->setArrowType(Qt::RightArrow);
    forward->setToolTip("Forward");
    forward->setEnabled(false);
    auto* contents = new QToolButton(this);
    contents->setText("Contents");
    connect(back, &QToolButton::clicked, m_Browser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_Browser, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this, &CHelpWindow::ShowContents);
    connect(m_Browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(m_Browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_Browser, 1);

    ShowContents();
}

QString CHelpWindow::DefaultFolder() {
    // Beside the program in a build tree, in the installed data folder
    // otherwise.
    const CInstallLayout layout(QCoreApplication::applicationDirPath().toStdString(), CInstallLayout::Installed());
    return QString::fromStdString(layout.Find("media/help").string());
}

void CHelpWindow::ShowContents() {
    const QString start = QDir(m_Folder).filePath(kStartPage);
    m_HasManual = QFile::exists(start);
    if (!m_HasManual) {
        m_Browser->setHtml(QStringLiteral("<h2>The manual is missing</h2>"
                                          "<p>Pelavor looked for it in <tt>%1</tt>, which should be installed "
                                          "with the program.</p>")
                               .arg(QDir::toNativeSeparators(m_Folder).toHtmlEscaped()));
        return;
    }
    m_Browser->setSource(QUrl::fromLocalFile(start));
}
