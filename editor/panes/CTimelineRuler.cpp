#include "panes/CTimelineRuler.h"

#include <QApplication>
#include <QLine>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "panes/CMusicWaveform.h"
#include "panes/CTimelineArtwork.h"

namespace {

const QColor kGround(100, 100, 100);
const QColor kScaleText(200, 200, 200);
const QColor kKey(128, 0, 0);
const QColor kSelectedKey(230, 0, 0);
const QColor kTimeBox(255, 253, 214);
const QColor kWaveform(158, 178, 208);

constexpr int kLabelFontPixels = 9;
constexpr int kLabelTickTop = 10;
constexpr int kLabelTextShift = 3;  // a label's number starts left of its tick
constexpr int kCursorBottomGap = 33;
constexpr int kCursorTipGap = 40;
constexpr int kCursorHalfWidth = 4;
constexpr QPoint kTimeBoxOffset{1, 20};  // from the dragged key's x
constexpr QSize kTimeBoxSize{65, 16};
constexpr float kTileStretch = 0.0125f;  // tile pixels to ruler pixels, per pixel-per-second of zoom
constexpr int kWheelNotch = 120;
constexpr int kFastWheelNotch = 30;
constexpr int kPageKeys = 10;

const char* const kDeleteQuestion = "Are you sure you want to delete the selected keyframe?";

}  // namespace

CTimelineRuler::CTimelineRuler(QWidget* parent) : QWidget(parent), m_Tile(CTimelineArtwork::RulerTile()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // the hand over the markers
    m_LabelFont = font();
    m_LabelFont.setPixelSize(kLabelFontPixels);
}

CTimelineRuler::~CTimelineRuler() = default;

// ------------------------------------------------------------------ state

void CTimelineRuler::SetCurrentTime(float time) {
    const float before = m_Scale.CurrentTime();
    m_Scale.SetCurrentTime(time);
    if (m_Scale.CurrentTime() != before) {
        update();
    }
}

void CTimelineRuler::SetTotalTime(float total) {
    m_Scale.SetTotalTime(total);
    update();
}

void CTimelineRuler::ZoomIn() {
    m_Scale.ZoomIn();
    update();
}

void CTimelineRuler::ZoomOut() {
    m_Scale.ZoomOut();
    update();
}

void CTimelineRuler::SetKeys(std::vector<SKey> keys, int selectedId) {
    m_Keys = std::move(keys);
    m_SelectedKey = selectedId;
    update();
}

void CTimelineRuler::SetWaveform(CMusicWaveform* waveform) {
    m_pWaveform = waveform;
    update();
}

QRect CTimelineRuler::BandRect() const {
    const int left = m_Scale.XOfTime(0.0f);
    const int right = m_Scale.XOfTime(m_Scale.TotalTime()) + 1;
    return QRect(left, kBandTop, right - left, CTimelineArtwork::kTileHeight);
}

int CTimelineRuler::KeyAt(const QPoint& point) const {
    if (m_SelectedKey >= 0) {
        // Drawn last, so on top.
        const SKey* selected = FindKey(m_SelectedKey);
        if (selected != nullptr &&
            QRect(m_Scale.XOfTime(selected->time), 0, kMarkerWidth, kKeyRowHeight).contains(point)) {
            return selected->id;
        }
    }
    for (auto key = m_Keys.rbegin(); key != m_Keys.rend(); ++key) {
        if (QRect(m_Scale.XOfTime(key->time), 0, kMarkerWidth, kKeyRowHeight).contains(point)) {
            return key->id;
        }
    }
    return -1;
}

const CTimelineRuler::SKey* CTimelineRuler::FindKey(int id) const {
    const auto found = std::find_if(m_Keys.begin(), m_Keys.end(), [id](const SKey& key) { return key.id == id; });
    return found == m_Keys.end() ? nullptr : &*found;
}

CTimelineRuler::SKey* CTimelineRuler::FindKey(int id) {
    const auto found = std::find_if(m_Keys.begin(), m_Keys.end(), [id](const SKey& key) { return key.id == id; });
    return found == m_Keys.end() ? nullptr : &*found;
}

// ------------------------------------------------------------------ menus

std::unique_ptr<QMenu> CTimelineRuler::MakeTimelineMenu() {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Contextual timeline"), this);
    QAction* add = menu->addAction(QStringLiteral("&Add a KeyFrame"), this, &CTimelineRuler::AddKeyAtContextTime);
    add->setEnabled(m_bHasObject);
    QAction* zoomIn = menu->addAction(QStringLiteral("Zoom In"), this, &CTimelineRuler::ZoomIn);
    zoomIn->setEnabled(m_Scale.CanZoomIn());
    QAction* zoomOut = menu->addAction(QStringLiteral("Zoom Out"), this, &CTimelineRuler::ZoomOut);
    zoomOut->setEnabled(m_Scale.CanZoomOut());
    menu->addAction(QStringLiteral("Properties..."), this, &CTimelineRuler::PropertiesRequested);
    return menu;
}

std::unique_ptr<QMenu> CTimelineRuler::MakeKeyFrameMenu() {
    auto menu = std::make_unique<QMenu>(QStringLiteral("Contextual keyframe"), this);
    menu->addAction(QStringLiteral("Delete this KeyFrame"), this, &CTimelineRuler::DeleteSelectedKey);
    menu->addAction(QStringLiteral("Properties..."), this, &CTimelineRuler::PropertiesRequested);
    return menu;
}

void CTimelineRuler::AddKeyAtContextTime() {
    if (!m_bHasObject) {
        return;
    }
    const float time = m_Scale.Clamp(m_ContextTime);
    emit AddKeyRequested(time);
    // The pane has handed back the keys with the new one selected.
    emit KeySelected(m_SelectedKey);
    MoveCurrentTime(time);
}

void CTimelineRuler::DeleteSelectedKey() {
    if (m_SelectedKey <= 0 || FindKey(m_SelectedKey) == nullptr || !AskDelete()) {
        return;
    }
    emit DeleteKeyRequested(m_SelectedKey);
    emit KeySelected(m_SelectedKey);
}

bool CTimelineRuler::AskDelete() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), QString::fromLatin1(kDeleteQuestion),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

// ------------------------------------------------------------------ mouse and keyboard

void CTimelineRuler::MoveCurrentTime(float time) {
    SetCurrentTime(time);
    emit TimeChanged(m_Scale.CurrentTime());
}

void CTimelineRuler::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        LeftPress(point);
    } else if (event->button() == Qt::RightButton) {
        RightPress(point);
    }
}

void CTimelineRuler::mouseDoubleClickEvent(QMouseEvent* event) {
    // A second left click grabs again; a second right click opens no
    // second menu.
    if (event->button() == Qt::LeftButton) {
        LeftPress(event->position().toPoint());
    }
}

void CTimelineRuler::LeftPress(const QPoint& point) {
    setFocus(Qt::MouseFocusReason);
    m_GrabX = point.x();
    if (BandRect().contains(point)) {
        m_DragMode = kScrolling;
        m_GrabTime = m_Scale.CurrentTime();
        return;
    }
    const int id = KeyAt(point);
    if (id < 0) {
        m_DragMode = kOutside;
        MoveCurrentTime(0.0f);
        return;
    }
    m_DragMode = kDraggingKey;
    m_DragKey = id;
    m_GrabTime = FindKey(id)->time;
    m_SelectedKey = id;
    SetCurrentTime(m_GrabTime);
    update();
    emit KeyDragStarted(id);
    emit KeySelected(id);
    emit TimeChanged(m_Scale.CurrentTime());
}

void CTimelineRuler::RightPress(const QPoint& point) {
    m_ContextTime = m_Scale.TimeAtX(point.x());
    if (BandRect().contains(point)) {
        MakeTimelineMenu()->exec(mapToGlobal(point));
        return;
    }
    const int id = KeyAt(point);
    if (id < 0) {
        return;
    }
    m_SelectedKey = id;
    update();
    emit KeySelected(id);
    // The first key belongs to the object for good: no menu to delete it.
    if (id != 0) {
        MakeKeyFrameMenu()->exec(mapToGlobal(point));
    }
}

void CTimelineRuler::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (KeyAt(point) >= 0) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    if (m_DragMode == kScrolling) {
        // The scale follows the mouse: dragging right goes back in time.
        MoveCurrentTime(m_GrabTime - static_cast<float>(point.x() - m_GrabX) / m_Scale.Zoom());
    } else if (m_DragMode == kDraggingKey) {
        DragKey(point.x());
    }
}

void CTimelineRuler::DragKey(int x) {
    SKey* key = FindKey(m_DragKey);
    const float time = m_Scale.Clamp(m_GrabTime + static_cast<float>(x - m_GrabX) / m_Scale.Zoom());
    if (key == nullptr || key->time == time) {
        return;  // pinned at an end: nothing to move
    }
    // Shown at once; the keys the pane hands back confirm it.
    key->time = time;
    update();
    emit KeyMoved(m_DragKey, time);
}

void CTimelineRuler::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_DragMode != kNoDrag) {
        m_DragMode = kNoDrag;
        m_DragKey = -1;
        update();  // the dragged key's time box goes
    }
}

void CTimelineRuler::wheelEvent(QWheelEvent* event) {
    const bool fast = (event->modifiers() & Qt::ControlModifier) || (event->buttons() & Qt::MiddleButton);
    const int delta = event->angleDelta().y();
    const int seconds = fast ? delta / kFastWheelNotch : delta / kWheelNotch;
    MoveCurrentTime(m_Scale.CurrentTime() + static_cast<float>(seconds));
    event->accept();
}

void CTimelineRuler::keyPressEvent(QKeyEvent* event) {
    const float now = m_Scale.CurrentTime();
    const auto step = static_cast<float>(kKeyboardStep);
    switch (event->key()) {
    case Qt::Key_PageUp:
        MoveCurrentTime(now - kPageKeys * step);
        break;
    case Qt::Key_PageDown:
        MoveCurrentTime(now + kPageKeys * step);
        break;
    case Qt::Key_Home:
        MoveCurrentTime(0.0f);
        break;
    case Qt::Key_End:
        MoveCurrentTime(m_Scale.TotalTime());
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        MoveCurrentTime(now - step);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        MoveCurrentTime(now + step);
        break;
    case Qt::Key_Delete:
        DeleteSelectedKey();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// ------------------------------------------------------------------ painting

void CTimelineRuler::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_Scale.SetWidth(width());
}

void CTimelineRuler::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Paint(painter);
}

void CTimelineRuler::Paint(QPainter& painter) {
    m_Scale.SetWidth(width());
    painter.fillRect(rect(), kGround);
    const QRect band = BandRect();
    PaintBand(painter, band);
    PaintLabels(painter, band);
    PaintWaveform(painter, band);
    PaintKeys(painter);
    PaintCursor(painter);
}

const QPixmap& CTimelineRuler::TileForZoom() {
    if (m_ScaledTileZoom != m_Scale.Zoom()) {
        // Never narrower than the spacing of the tiles, so that they join.
        const int width =
            std::max(1, static_cast<int>(std::ceil(CTimelineArtwork::kTileWidth * m_Scale.Zoom() * kTileStretch)) + 1);
        m_ScaledTile = m_Tile.scaled(width, m_Tile.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_ScaledTileZoom = m_Scale.Zoom();
    }
    return m_ScaledTile;
}

void CTimelineRuler::PaintBand(QPainter& painter, const QRect& band) {
    const QRect visible = band.intersected(rect());
    if (visible.isEmpty()) {
        return;
    }
    const QPixmap& tile = TileForZoom();
    const float seconds = CTimelineArtwork::kTileSeconds;
    const int first = std::max(0, static_cast<int>(m_Scale.TimeAtX(visible.left()) / seconds));
    const int last = static_cast<int>(m_Scale.TimeAtX(visible.right()) / seconds);
    painter.save();
    painter.setClipRect(visible);
    for (int i = first; i <= last; ++i) {
        const int x = m_Scale.XOfTime(static_cast<float>(i) * seconds);
        const int next = m_Scale.XOfTime(static_cast<float>(i + 1) * seconds);
        painter.drawPixmap(x, band.top(), tile, 0, 0, std::min(tile.width(), next - x + 1), tile.height());
    }
    painter.restore();
}

void CTimelineRuler::PaintLabels(QPainter& painter, const QRect& band) {
    painter.setPen(kScaleText);
    // Kept near the widget: the band may reach far beyond it.
    const int lineLeft = std::max(band.left(), -1);
    const int lineRight = std::min(band.right(), width());
    if (lineLeft <= lineRight) {
        painter.drawLine(lineLeft, kKeyRowHeight, lineRight, kKeyRowHeight);
    }
    painter.setFont(m_LabelFont);
    const int ascent = painter.fontMetrics().ascent();
    const int step = m_Scale.LabelStep();
    // A number reaches a little left of its tick and some way right.
    const float from = std::max(0.0f, m_Scale.TimeAtX(-kMarkerWidth * 2));
    const float to = std::min(m_Scale.TotalTime(), m_Scale.TimeAtX(width() + kLabelTextShift));
    for (int second = static_cast<int>(from / static_cast<float>(step)) * step; static_cast<float>(second) <= to;
         second += step) {
        const int x = m_Scale.XOfTime(static_cast<float>(second));
        painter.drawLine(x, kLabelTickTop, x, kKeyRowHeight);
        painter.drawText(QPoint(x - kLabelTextShift, ascent), QString::number(second));
    }
}

void CTimelineRuler::PaintWaveform(QPainter& painter, const QRect& band) {
    if (m_pWaveform == nullptr || !m_pWaveform->IsReady()) {
        return;
    }
    // From under the scale band to the bottom: the key lines and the cursor
    // are drawn over it, and the strip below their ends gives the music
    // room enough to show its beats.
    const int top = band.bottom() + 2;
    const int bandHeight = height() - 2 - top;
    if (bandHeight < 2) {
        return;
    }
    const std::vector<float>& columns = m_pWaveform->ColumnsForZoom(m_Scale.Zoom());
    const int left = std::max(0, band.left());
    const int right = std::min(width() - 1, band.right());
    // Column of pixel x: (time at x) x zoom.
    const double origin = static_cast<double>(m_Scale.CurrentTime()) * m_Scale.Zoom() - m_Scale.Centre();
    std::vector<QLine> bars;
    bars.reserve(static_cast<size_t>(std::max(0, right - left + 1)));
    for (int x = left; x <= right; ++x) {
        const double column = std::floor(origin + x);
        if (column < 0.0 || column >= static_cast<double>(columns.size())) {
            continue;
        }
        const float peak = std::clamp(columns[static_cast<size_t>(column)], 0.0f, 1.0f);
        const int bar = static_cast<int>(std::lround(peak * static_cast<float>(bandHeight)));
        if (bar > 0) {
            const int barTop = top + (bandHeight - bar) / 2;
            bars.emplace_back(x, barTop, x, barTop + bar - 1);
        }
    }
    painter.setPen(kWaveform);
    painter.drawLines(bars.data(), static_cast<int>(bars.size()));
}

void CTimelineRuler::PaintKeys(QPainter& painter) {
    painter.setFont(m_LabelFont);
    const SKey* selected = nullptr;
    for (const SKey& key : m_Keys) {
        if (key.id == m_SelectedKey) {
            selected = &key;
        } else {
            PaintKey(painter, key, false);
        }
    }
    if (selected != nullptr) {
        PaintKey(painter, *selected, true);
    }
}

void CTimelineRuler::PaintKey(QPainter& painter, const SKey& key, bool selected) {
    const int x = m_Scale.XOfTime(key.time);
    if (x + kMarkerWidth < 0 || x > width()) {
        return;
    }
    const int lineBottom = height() - kKeyLineBottomGap;
    painter.setPen(Qt::black);
    painter.drawLine(x, 0, x, lineBottom);
    const QRect marker(x, 0, kMarkerWidth, kKeyRowHeight);
    painter.fillRect(marker, selected ? kSelectedKey : kKey);
    painter.drawRect(marker.adjusted(0, 0, -1, -1));
    if (selected) {
        painter.setPen(kSelectedKey);
        painter.drawRect(QRect(x, 0, kMarkerWidth - 1, lineBottom));
    }
    painter.setPen(Qt::white);
    painter.drawText(QPoint(x + 1, 1 + painter.fontMetrics().ascent()), QString::number(key.id));

    if (m_DragMode == kDraggingKey && key.id == m_DragKey) {
        const QRect box(QPoint(x, 0) + kTimeBoxOffset, kTimeBoxSize);
        painter.fillRect(box, kTimeBox);
        painter.setPen(Qt::black);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.drawText(box, Qt::AlignCenter, CTimelineScale::TimeText(key.time));
    }
}

void CTimelineRuler::PaintCursor(QPainter& painter) {
    const int centre = m_Scale.Centre();
    const int bottom = height() - kCursorBottomGap;
    painter.setPen(Qt::white);
    painter.drawLine(centre, 0, centre, bottom);
    painter.setBrush(Qt::white);
    const QPoint arrow[] = {
        {centre, height() - kCursorTipGap}, {centre + kCursorHalfWidth, bottom}, {centre - kCursorHalfWidth, bottom}};
    painter.drawPolygon(arrow, 3);
    painter.setBrush(Qt::NoBrush);
}
