#pragma once
// The timeline's ruler: the time scale with its labels, the key frames of
// the shown object as markers on a row above the scale, the music's
// waveform under it and the current time at the centre.
//
// The user scrolls the scale by dragging it (or with the wheel and the
// keyboard), drags keys along it, and adds, deletes and zooms through the
// context menus. The ruler changes no object itself: it reports what the
// user asked for (KeyMoved, AddKeyRequested, ...) and the pane does it
// through the document, then hands the keys back (SetKeys).
//
// Layout, in the ruler's own pixels (W wide, H high):
//   y 0 .. 14   key markers (20 x 14 from the key's x); the labels' ticks
//               and numbers share the row, over a line at y 14;
//   y 17 ..     the scale band, from the x of time 0 to that of the total;
//   below it, down to 35 pixels above the bottom, the waveform.

#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <vector>

#include "panes/CTimelineScale.h"

class CMusicWaveform;
class QMenu;

class CTimelineRuler : public QWidget {
    Q_OBJECT

public:
    struct SKey {
        float time;
        int id;
    };

    enum EDragMode {
        kNoDrag = 0,
        kScrolling = 1,  // the scale follows the mouse
        kOutside = 2,    // pressed outside the band and the keys
        kDraggingKey = 3,
    };

    static constexpr int kKeyRowHeight = 14;
    static constexpr int kMarkerWidth = 20;
    static constexpr int kBandTop = 17;
    static constexpr int kKeyLineBottomGap = 35;  // key lines end this far above the bottom
    static constexpr int kKeyboardStep = 1;       // seconds

    explicit CTimelineRuler(QWidget* parent = nullptr);
    ~CTimelineRuler() override;

    const CTimelineScale& Scale() const { return m_Scale; }
    float CurrentTime() const { return m_Scale.CurrentTime(); }
    // Clamped to [0, total]; repaints when the time changed. Reports nothing.
    void SetCurrentTime(float time);
    void SetTotalTime(float total);
    void ZoomIn();
    void ZoomOut();

    // The object's keys in its index order, and the one to highlight (-1:
    // none).
    void SetKeys(std::vector<SKey> keys, int selectedId);
    const std::vector<SKey>& Keys() const { return m_Keys; }
    int SelectedKey() const { return m_SelectedKey; }
    // Whether an object is shown ("&Add a KeyFrame" allowed).
    void SetHasObject(bool hasObject) { m_bHasObject = hasObject; }
    bool HasObject() const { return m_bHasObject; }
    void SetWaveform(CMusicWaveform* waveform);
    EDragMode DragMode() const { return m_DragMode; }

    QRect BandRect() const;
    // The identifier of the key whose marker covers that point, -1 for none
    // (where markers overlap, the one drawn on top).
    int KeyAt(const QPoint& point) const;

    // The context menus as the right button opens them; their actions act
    // on this ruler.
    std::unique_ptr<QMenu> MakeTimelineMenu();
    std::unique_ptr<QMenu> MakeKeyFrameMenu();

    // The whole ruler, into any painter (the widget paints through it).
    void Paint(QPainter& painter);

public slots:
    // "&Add a KeyFrame": a key at the time last right-clicked.
    void AddKeyAtContextTime();
    // "Delete this KeyFrame" and the Delete key: asks first; the first key
    // (identifier 0) is never deleted.
    void DeleteSelectedKey();

signals:
    // The user moved the current time.
    void TimeChanged(float time);
    // A key drag begins; every KeyMoved until the button goes up belongs
    // to it.
    void KeyDragStarted(int id);
    void KeyMoved(int id, float time);
    void AddKeyRequested(float time);
    void DeleteKeyRequested(int id);
    void KeySelected(int id);
    void PropertiesRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void LeftPress(const QPoint& point);
    void RightPress(const QPoint& point);
    void MoveCurrentTime(float time);
    void DragKey(int x);
    bool AskDelete();
    const SKey* FindKey(int id) const;
    SKey* FindKey(int id);

    void PaintBand(QPainter& painter, const QRect& band);
    void PaintLabels(QPainter& painter, const QRect& band);
    void PaintWaveform(QPainter& painter, const QRect& band);
    void PaintKeys(QPainter& painter);
    void PaintKey(QPainter& painter, const SKey& key, bool selected);
    void PaintCursor(QPainter& painter);
    const QPixmap& TileForZoom();

    CTimelineScale m_Scale;
    std::vector<SKey> m_Keys;
    int m_SelectedKey = -1;
    bool m_bHasObject = false;
    CMusicWaveform* m_pWaveform = nullptr;

    EDragMode m_DragMode = kNoDrag;
    int m_GrabX = 0;
    float m_GrabTime = 0.0f;  // the current time or the dragged key's time at the grab
    int m_DragKey = -1;
    float m_ContextTime = 0.0f;

    QFont m_LabelFont;
    QPixmap m_Tile;
    QPixmap m_ScaledTile;
    float m_ScaledTileZoom = -1.0f;
};
