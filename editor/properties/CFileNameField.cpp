#include "properties/CFileNameField.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kBrowseWidth = 28;  // wide enough for "..." only

}  // namespace

CFileNameField::CFileNameField(const QString& filter, QWidget* parent)
    : QWidget(parent), m_Filter(filter), m_pName(new QLineEdit(this)), m_pBrowse(new QPushButton("...", this)) {
    m_pName->setReadOnly(true);
    m_pBrowse->setFixedWidth(kBrowseWidth);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_pName, 1);
    row->addWidget(m_pBrowse);
    connect(m_pBrowse, &QPushButton::clicked, this, &CFileNameField::Browse);
}

void CFileNameField::SplitPath(const QString& path, QString& directory, QString& fileName) {
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1;
    directory = path.left(cut);
    fileName = path.mid(cut);
}

void CFileNameField::SetPath(const QString& path) {
    SplitPath(path, m_Directory, m_FileName);
    m_pName->setText(m_FileName);
}

void CFileNameField::Browse() {
    const QString path = QFileDialog::getOpenFileName(this, "Open", Path(), m_Filter);
    if (path.isEmpty()) {
        return;  // cancelled
    }
    SetPath(path);
    emit FileChosen(path);
}
