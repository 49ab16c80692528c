#pragma once
// Keeps the panes on the same object and keyframe. The object selected in
// the "Object List" is the one the "Properties" pane shows and whose keys
// the "Timeline" shows; a key chosen on the timeline becomes that object's
// current keyframe, the one every page edits, and the pages show its
// values. A new, opened or loaded scene starts the timeline over with the
// scene's length and music.
//
// User-interface thread only.

#include <QObject>

class CEditorDocument;
class CObjectListPane;
class CObjects;
class CPropertiesPane;
class CTimelinePane;

class CPaneCoordinator : public QObject {
    Q_OBJECT

public:
    CPaneCoordinator(CEditorDocument& document, CObjectListPane& objectList, CPropertiesPane& properties,
                     CTimelinePane& timeline, QObject* parent = nullptr);

    // The object list's selection changed: both panes show the new object.
    void ShowSelection(bool commitPrevious);
    // The timeline chose key `id` of the shown object.
    void SelectKeyFrame(int id);
    // After a new scene: the clock stopped, no keys, the music's waveform
    // (if any) dropped.
    void ResetTimeline();
    // After a scene was opened or loaded: its length and music.
    void FollowLoadedScene();

private:
    CEditorDocument& m_Document;
    CObjectListPane& m_ObjectList;
    CPropertiesPane& m_Properties;
    CTimelinePane& m_Timeline;
};
