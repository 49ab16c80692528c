#pragma once
// The "Timeline" pane: the playback buttons and the current time above the
// ruler with the key frames of the selected object (a base object or a
// camera; other objects have no keys to show).
//
// The pane follows the scene clock every 20 ms and sets it when the user
// moves the time. Key frames are added, moved and deleted through the
// document, so each is one undoable step (a whole drag included); the keys
// shown are read back from the object after every edit, undo and redo.
// Choosing a key is the frame's business (KeyFrameSelected): it makes the
// key current on the object and shows its values in the property pages.

#include <QString>
#include <QWidget>

class CEditorDocument;
class CMusicWaveform;
class CObjects;
class CTimelineHeader;
class CTimelineRuler;
class QTimer;

class CTimelinePane : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClockInterval = 20;  // milliseconds

    explicit CTimelinePane(CEditorDocument& document, QWidget* parent = nullptr);

    // The object whose keys are shown; null, or an object without keys,
    // shows none.
    void SetTimelineObject(CObjects* object);
    CObjects* TimelineObject() const;
    // Reads the shown object's keys again; its current key frame is the
    // highlighted one.
    void ReloadKeys();
    // Takes the scene's length from the clock.
    void RefreshTotalTime();
    // A new scene: the clock stops and Stop shows down.
    void Reset();
    // The scene's music, whose waveform the ruler draws once it is decoded.
    void SetMusicFile(const QString& path);

    CTimelineHeader& Header() const { return *m_pHeader; }
    CTimelineRuler& Ruler() const { return *m_pRuler; }
    CMusicWaveform& Waveform() const { return *m_pWaveform; }

public slots:
    // One step of following the clock (the timer's tick): the ruler shows
    // the clock's time, and a clock that stopped by itself shows Stop down.
    void FollowClock();

signals:
    // The user chose a key (by its identifier).
    void KeyFrameSelected(int id);
    // "Properties...": the scene's properties.
    void PropertiesRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnButtonClicked(int button);
    void OnTimeChanged(float time);
    void OnKeyMoved(int id, float time);
    void OnAddKey(float time);
    void OnDeleteKey(int id);
    void OnKeySelected(int id);
    void OnObjectEdited(CObjects* object);
    void OnSceneReplaced();
    QString ShownName() const;
    // Compares addresses only: the object may be gone.
    bool IsInScene(const CObjects* object);

    CEditorDocument& m_Document;
    CTimelineHeader* m_pHeader;
    CTimelineRuler* m_pRuler;
    CMusicWaveform* m_pWaveform;
    QTimer* m_pClock;
    // The shown object: a base object or a camera, the kinds with keyframes.
    CObjects* m_pObject = nullptr;
    int m_DragRun = 0;  // the edit run of the key drag in progress
};
