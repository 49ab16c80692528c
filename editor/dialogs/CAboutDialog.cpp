#include "dialogs/CAboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/CObjectIcons.h"

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent), m_Link(new QLabel(this)) {
    setWindowTitle(QStringLiteral("About %1").arg(kProductName));

    auto* picture = new QLabel(this);
    picture->setPixmap(CObjectIcons::Draw("CCameraTrajectoryObject", 32));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("<b>%1</b>").arg(kProductName), this);
    auto* version = new QLabel(QStringLiteral("Version %1").arg(kVersion), this);
    m_Link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(kHomePage));
    m_Link->setTextFormat(Qt::RichText);
    m_Link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_Link->setOpenExternalLinks(true);
    auto* installer = new QLabel(kInstallerLine, this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addWidget(m_Link);
    texts->addSpacing(8);
    texts->addWidget(installer);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
