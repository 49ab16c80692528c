#include "panes/CTimelineHeader.h"

#include <QButtonGroup>
#include <QPainter>
#include <QToolButton>

#include "panes/CTimelineArtwork.h"
#include "panes/CTimelineScale.h"

namespace {

const QColor kGround(100, 100, 100);
constexpr int kButtonLeft = 5;
constexpr int kButtonStep = 32;
constexpr int kButtonTop = 5;
constexpr int kButtonWidth = 27;
constexpr int kButtonHeight = 20;
constexpr int kFontPixels = 10;

// The centre line starts at the triangle's base and ends above the bottom.
constexpr int kMarkTop = 10;
constexpr int kMarkTip = 17;
constexpr int kMarkHalfWidth = 3;
constexpr int kLineBottomGap = 3;
constexpr int kTextLeft = 20;  // right of the centre line
constexpr int kTextTop = 10;

const char* const kButtonNames[] = {"fastReverse", "reverse", "stop", "pause", "play", "fastForward"};

}  // namespace

CTimelineHeader::CTimelineHeader(QWidget* parent) : QWidget(parent), m_pGroup(new QButtonGroup(this)) {
    m_pGroup->setExclusive(true);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(kButtonNames[i]);
        button->setCheckable(true);
        button->setIcon(CTimelineArtwork::ButtonImage(static_cast<CTimelineArtwork::EButtonImage>(i)));
        button->setIconSize(CTimelineArtwork::kButtonImageSize);
        button->setFocusPolicy(Qt::NoFocus);  // the keyboard belongs to the ruler
        button->setGeometry(kButtonLeft + kButtonStep * i, kButtonTop, kButtonWidth, kButtonHeight);
        m_pGroup->addButton(button, i);
        m_Buttons[i] = button;
    }
    m_Buttons[kStop]->setChecked(true);
    connect(m_pGroup, &QButtonGroup::idClicked, this, &CTimelineHeader::ButtonClicked);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTimelineHeader::SetTime(float time) {
    if (time == m_Time) {
        return;
    }
    m_Time = time;
    const int centre = width() / 2;
    update(QRect(centre, 0, width() - centre, height()));
}

void CTimelineHeader::Press(EButton button) {
    m_Buttons[button]->setChecked(true);
}

bool CTimelineHeader::IsDown(EButton button) const {
    return m_Buttons[button]->isChecked();
}

void CTimelineHeader::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kGround);
    const int centre = width() / 2;
    painter.setPen(Qt::white);
    painter.drawLine(centre, kMarkTop, centre, height() - kLineBottomGap);
    painter.setBrush(Qt::white);
    const QPoint mark[] = {
        {centre - kMarkHalfWidth, kMarkTop}, {centre + kMarkHalfWidth, kMarkTop}, {centre, kMarkTip}};
    painter.drawPolygon(mark, 3);

    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    painter.setFont(font);
    const QString text = QStringLiteral("Time: ") + CTimelineScale::TimeText(m_Time);
    painter.drawText(QPoint(centre + kTextLeft, kTextTop + painter.fontMetrics().ascent()), text);
}
