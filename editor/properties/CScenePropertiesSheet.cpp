#include "properties/CScenePropertiesSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "document/CSceneSettingsCommand.h"
#include "properties/CBackgroundPage.h"
#include "properties/CFogPage.h"
#include "properties/CSoundPage.h"
#include "properties/CTimePage.h"

CScenePropertiesSheet::CScenePropertiesSheet(CEditorDocument& document, QWidget* parent)
    : QDialog(parent),
      m_Document(document),
      m_Opening(SSceneSettings::Read(CScreen::Instance(), document.Scene())),
      m_Written(m_Opening),
      m_pTabs(new QTabWidget(this)),
      m_pTime(new CTimePage(this)),
      m_pBackground(new CBackgroundPage(this)),
      m_pFog(new CFogPage(this)),
      m_pSound(new CSoundPage(this)),
      m_pOk(new QPushButton("OK", this)),
      m_pCancel(new QPushButton("Cancel", this)),
      m_pApply(new QPushButton("Apply", this)) {
    setWindowTitle("Scene Properties");
    m_pTime->Show(m_Opening);
    m_pBackground->Show(m_Opening);
    m_pFog->Show(m_Opening);
    m_pSound->Show(m_Opening);
    BuildLayout();

    m_pOk->setDefault(true);
    m_pApply->setEnabled(false);
    connect(m_pOk, &QPushButton::clicked, this, &CScenePropertiesSheet::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CScenePropertiesSheet::reject);
    connect(m_pApply, &QPushButton::clicked, this, &CScenePropertiesSheet::Apply);
    connect(m_pTime, &CTimePage::Changed, this, &CScenePropertiesSheet::OnPageChanged);
    connect(m_pBackground, &CBackgroundPage::Changed, this, &CScenePropertiesSheet::OnPageChanged);
    connect(m_pFog, &CFogPage::Changed, this, &CScenePropertiesSheet::OnPageChanged);
    connect(m_pSound, &CSoundPage::Changed, this, &CScenePropertiesSheet::OnPageChanged);
}

void CScenePropertiesSheet::BuildLayout() {
    m_pTabs->addTab(m_pTime, m_pTime->windowTitle());
    m_pTabs->addTab(m_pBackground, m_pBackground->windowTitle());
    m_pTabs->addTab(m_pFog, m_pFog->windowTitle());
    m_pTabs->addTab(m_pSound, m_pSound->windowTitle());

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    buttons->addWidget(m_pApply);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_pTabs, 1);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

SSceneSettings CScenePropertiesSheet::PageValues() const {
    // Values no page shows (the fog's density) stay as they were found.
    SSceneSettings values = m_Opening;
    m_pTime->Take(values);
    m_pBackground->Take(values);
    m_pFog->Take(values);
    m_pSound->Take(values);
    return values;
}

void CScenePropertiesSheet::OnPageChanged() {
    m_pApply->setEnabled(true);
}

void CScenePropertiesSheet::accept() {
    WritePageValues();
    QDialog::accept();
}

void CScenePropertiesSheet::reject() {
    UndoOwnSteps();
    QDialog::reject();
}

void CScenePropertiesSheet::Apply() {
    WritePageValues();
    m_pApply->setEnabled(false);
}

void CScenePropertiesSheet::WritePageValues() {
    const SSceneSettings wanted = PageValues();
    // Compared with what was written, not with what the engine reports
    // back: the screen keeps the background colour in bytes, so a colour
    // never reads back exactly as the colour dialog gave it.
    if (wanted == m_Written) {
        return;
    }
    const SSceneSettings now = SSceneSettings::Read(CScreen::Instance(), m_Document.Scene());
    auto* command = new CSceneSettingsCommand(m_Document, now, wanted);
    m_Document.UndoStack().push(command);
    m_Pushed.push_back(command);
    m_Written = wanted;
}

void CScenePropertiesSheet::UndoOwnSteps() {
    QUndoStack& stack = m_Document.UndoStack();
    while (!m_Pushed.isEmpty() && stack.index() > 0 && stack.command(stack.index() - 1) == m_Pushed.back()) {
        stack.undo();
        m_Pushed.pop_back();
    }
    m_Written = m_Opening;
}
