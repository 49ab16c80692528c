#pragma once
// The "Sound" page of "Scene Properties": the scene's music file (shown
// with its full path), whether it loops, and whether it plays at all:
// choosing a file switches the music on, "Clear" takes the file away and
// switches it off.

#include <QString>
#include <QWidget>

#include "document/SSceneSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CSoundPage : public QWidget {
    Q_OBJECT

public:
    explicit CSoundPage(QWidget* parent = nullptr);

    void Show(const SSceneSettings& settings);
    void Take(SSceneSettings& settings) const;

    // Whether the music plays as the page stands.
    bool MusicEnabled() const { return m_Enabled; }

    QLineEdit* FileEdit() const { return m_pFile; }
    QPushButton* BrowseButton() const { return m_pBrowse; }
    QPushButton* ClearButton() const { return m_pClear; }
    QCheckBox* LoopCheck() const { return m_pLoop; }

public slots:
    // "Browse...": the file dialog; a chosen file is played.
    void ChooseFile();
    // "Clear": no music.
    void ClearFile();

signals:
    void Changed();

private:
    QString m_Path;
    bool m_Enabled = false;

    QLineEdit* m_pFile;
    QPushButton* m_pBrowse;
    QPushButton* m_pClear;
    QCheckBox* m_pLoop;
};
