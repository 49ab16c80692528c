#include "app/CPaneCoordinator.h"

#include "controls/QtConvert.h"
#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "document/CKeyFrameAccess.h"
#include "panes/CObjectListPane.h"
#include "panes/CTimelinePane.h"
#include "properties/CPropertiesPane.h"
#include "scene/CMP3Player.h"

CPaneCoordinator::CPaneCoordinator(CEditorDocument& document, CObjectListPane& objectList, CPropertiesPane& properties,
                                   CTimelinePane& timeline, QObject* parent)
    : QObject(parent), m_Document(document), m_ObjectList(objectList), m_Properties(properties), m_Timeline(timeline) {
    connect(&m_ObjectList, &CObjectListPane::SelectionChanged, this, &CPaneCoordinator::ShowSelection);
    connect(&m_Timeline, &CTimelinePane::KeyFrameSelected, this, &CPaneCoordinator::SelectKeyFrame);
}

void CPaneCoordinator::ShowSelection(bool commitPrevious) {
    CObjects* object = m_ObjectList.GetSelectedObject();
    m_Properties.ShowObject(object, commitPrevious);
    m_Timeline.SetTimelineObject(object);
}

void CPaneCoordinator::SelectKeyFrame(int id) {
    CObjects* object = m_ObjectList.GetSelectedObject();
    if (object == nullptr) {
        return;
    }
    // A field being typed in still belongs to the key shown so far.
    m_Properties.CommitPages();
    {
        // Which key the pages edit is the editor's choice, not a change of
        // the scene: it is not undone.
        CSceneLock lock(m_Document.Scene());
        CKeyFrameAccess(object).SetCurrentKey(id);
    }
    m_Properties.RefreshPages();
    m_Timeline.ReloadKeys();
}

void CPaneCoordinator::ResetTimeline() {
    m_Timeline.Reset();
    m_Timeline.SetMusicFile(QString());
    m_Timeline.RefreshTotalTime();
}

void CPaneCoordinator::FollowLoadedScene() {
    m_Timeline.RefreshTotalTime();
    CScreen& screen = CScreen::Instance();
    m_Timeline.SetMusicFile(ToQString(screen.GetSound().GetPath()));
}
