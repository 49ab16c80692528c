#include "panes/CTimelinePane.h"

#include <QTimer>
#include <algorithm>
#include <vector>

#include "controls/QtConvert.h"
#include "core/CScreen.h"
#include "document/CEditorDocument.h"
#include "document/CKeyFrameAccess.h"
#include "panes/CMusicWaveform.h"
#include "panes/CTimelineHeader.h"
#include "panes/CTimelineRuler.h"
#include "scene/CObjects.h"

CTimelinePane::CTimelinePane(CEditorDocument& document, QWidget* parent)
    : QWidget(parent),
      m_Document(document),
      m_pHeader(new CTimelineHeader(this)),
      m_pRuler(new CTimelineRuler(this)),
      m_pWaveform(new CMusicWaveform(this)),
      m_pClock(new QTimer(this)) {
    m_pRuler->SetWaveform(m_pWaveform);
    connect(m_pWaveform, &CMusicWaveform::Ready, m_pRuler, qOverload<>(&QWidget::update));

    connect(m_pHeader, &CTimelineHeader::ButtonClicked, this, &CTimelinePane::OnButtonClicked);
    connect(m_pRuler, &CTimelineRuler::TimeChanged, this, &CTimelinePane::OnTimeChanged);
    connect(m_pRuler, &CTimelineRuler::KeyDragStarted, this, [this] { m_DragRun = m_Document.NewEditRun(); });
    connect(m_pRuler, &CTimelineRuler::KeyMoved, this, &CTimelinePane::OnKeyMoved);
    connect(m_pRuler, &CTimelineRuler::AddKeyRequested, this, &CTimelinePane::OnAddKey);
    connect(m_pRuler, &CTimelineRuler::DeleteKeyRequested, this, &CTimelinePane::OnDeleteKey);
    connect(m_pRuler, &CTimelineRuler::KeySelected, this, &CTimelinePane::OnKeySelected);
    connect(m_pRuler, &CTimelineRuler::PropertiesRequested, this, &CTimelinePane::PropertiesRequested);
    connect(&m_Document, &CEditorDocument::ObjectEdited, this, &CTimelinePane::OnObjectEdited);
    connect(&m_Document, &CEditorDocument::SceneReplaced, this, &CTimelinePane::OnSceneReplaced);

    RefreshTotalTime();
    connect(m_pClock, &QTimer::timeout, this, &CTimelinePane::FollowClock);
    m_pClock->start(kClockInterval);
}

// ------------------------------------------------------------------ for the frame

void CTimelinePane::SetTimelineObject(CObjects* object) {
    // Only objects with keyframes have a timeline.
    m_pObject = CKeyFrameAccess(object) ? object : nullptr;
    m_pRuler->SetHasObject(m_pObject != nullptr);
    ReloadKeys();
}

CObjects* CTimelinePane::TimelineObject() const {
    return m_pObject;
}

void CTimelinePane::ReloadKeys() {
    std::vector<CTimelineRuler::SKey> keys;
    int selected = -1;
    if (m_pObject != nullptr) {
        CSceneLock lock(m_Document.Scene());
        const CKeyFrameAccess access(m_pObject);
        keys.reserve(static_cast<size_t>(std::max(0, access.Count())));
        for (int i = 0; i < access.Count(); ++i) {
            keys.push_back({access.Time(i), access.Id(i)});
        }
        selected = access.CurrentKey();
    }
    m_pRuler->SetKeys(std::move(keys), selected);
}

void CTimelinePane::RefreshTotalTime() {
    m_pRuler->SetTotalTime(CScreen::Instance().GetTotalTime());
    m_pHeader->SetTime(m_pRuler->CurrentTime());
}

void CTimelinePane::Reset() {
    m_pHeader->Press(CTimelineHeader::kStop);
    CScreen::Instance().Stop();
}

void CTimelinePane::SetMusicFile(const QString& path) {
    m_pWaveform->SetFile(path);
    m_pRuler->update();
}

// ------------------------------------------------------------------ the clock

void CTimelinePane::FollowClock() {
    const CScreen& screen = CScreen::Instance();
    const float now = screen.GetTickCount();
    if (now != m_pRuler->CurrentTime()) {
        m_pRuler->SetCurrentTime(now);
        m_pHeader->SetTime(m_pRuler->CurrentTime());
    }
    // The clock stops by itself at the end of a scene that does not loop.
    if (screen.IsStopped() && !m_pHeader->IsDown(CTimelineHeader::kStop)) {
        m_pHeader->Press(CTimelineHeader::kStop);
    }
}

void CTimelinePane::OnButtonClicked(int button) {
    CScreen& screen = CScreen::Instance();
    switch (button) {
    case CTimelineHeader::kFastReverse:
        screen.Play(-4.0f);
        break;
    case CTimelineHeader::kReverse:
        screen.Play(-1.0f);
        break;
    case CTimelineHeader::kStop:
        screen.Stop();
        break;
    case CTimelineHeader::kPause:
        screen.Pause();
        break;
    case CTimelineHeader::kPlay:
        screen.Play(1.0f);
        break;
    case CTimelineHeader::kFastForward:
        screen.Play(4.0f);
        break;
    default:
        break;
    }
}

void CTimelinePane::OnTimeChanged(float time) {
    CScreen::Instance().SetTime(time);
    m_pHeader->SetTime(time);
}

// ------------------------------------------------------------------ key edits

QString CTimelinePane::ShownName() const {
    return ToQString(TimelineObject()->GetObjName());
}

void CTimelinePane::OnKeyMoved(int id, float time) {
    CObjects* object = TimelineObject();
    if (object == nullptr) {
        return;
    }
    // Every move of one drag carries the drag's run: one undo step.
    m_Document.EditKeyFrames(*object, QStringLiteral("Move key %1 of %2").arg(id).arg(ShownName()), m_DragRun,
                             [id, time](CObjects& o) { CKeyFrameAccess(o).Move(id, time); });
}

void CTimelinePane::OnAddKey(float time) {
    CObjects* object = TimelineObject();
    if (object == nullptr) {
        return;
    }
    m_Document.EditKeyFrames(*object,
                             QString::asprintf("Add key at %.2f s to ", static_cast<double>(time)) + ShownName(),
                             m_Document.NewEditRun(), [time](CObjects& o) {
                                 const CKeyFrameAccess keys(o);
                                 keys.SetCurrentKey(keys.Add(time));
                             });
}

void CTimelinePane::OnDeleteKey(int id) {
    CObjects* object = TimelineObject();
    if (object == nullptr || id == 0) {
        return;
    }
    m_Document.EditKeyFrames(*object, QStringLiteral("Delete key %1 of %2").arg(id).arg(ShownName()),
                             m_Document.NewEditRun(), [id](CObjects& o) {
                                 // A deleted current key leaves the first
                                 // key, which always stays, current.
                                 const CKeyFrameAccess keys(o);
                                 keys.Delete(id);
                                 if (keys.CurrentKey() == id) {
                                     keys.SetCurrentKey(0);
                                 }
                             });
}

void CTimelinePane::OnKeySelected(int id) {
    emit KeyFrameSelected(id);
    ReloadKeys();
}

void CTimelinePane::OnObjectEdited(CObjects* object) {
    if (object != nullptr && object == TimelineObject()) {
        ReloadKeys();
    }
}

void CTimelinePane::OnSceneReplaced() {
    // The frame may have shown an object of the new scene already (the
    // object list answers the same signal); only an object that went with
    // the old scene is dropped.
    if (IsInScene(TimelineObject())) {
        ReloadKeys();
    } else {
        SetTimelineObject(nullptr);
    }
    RefreshTotalTime();
}

bool CTimelinePane::IsInScene(const CObjects* object) {
    if (object == nullptr) {
        return false;
    }
    CScene& scene = m_Document.Scene();
    CSceneLock lock(scene);
    for (int i = 0; i < scene.GetObjectNumber(); ++i) {
        if (scene.GetObjectA(i) == object) {
            return true;
        }
    }
    return false;
}

void CTimelinePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_pHeader->setGeometry(0, 0, width(), CTimelineHeader::kHeight);
    m_pRuler->setGeometry(0, CTimelineHeader::kHeight, width(), std::max(0, height() - CTimelineHeader::kHeight));
}
