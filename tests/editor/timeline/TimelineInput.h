#pragma once
// The user's hand on a timeline widget: mouse buttons, drags and the wheel
// sent straight to the widget, and an answer for the context menus it
// opens (their titles and actions are kept; one action, named by its text,
// is chosen as the user would choose it, or the menu is closed). Header
// only.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace timelinetest {

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(point), QPointF(widget.mapToGlobal(point)), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

inline void Press(QWidget& widget, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(widget, QEvent::MouseButtonPress, point, button, button);
}

inline void Release(QWidget& widget, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(widget, QEvent::MouseButtonRelease, point, button, Qt::NoButton);
}

inline void DragTo(QWidget& widget, QPoint point) {
    SendMouse(widget, QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
}

inline void Wheel(QWidget& widget, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  Qt::MouseButtons held = Qt::NoButton) {
    const QPointF point(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(point, widget.mapToGlobal(point), QPoint(), QPoint(0, delta), held, modifiers, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&widget, &event);
}

// What one context menu showed.
struct SShownMenu {
    QString title;
    QStringList actions;
    QStringList enabled;
};

class CMenuAnswer {
public:
    // choose: the text of the action to choose ("" closes the menu).
    explicit CMenuAnswer(QString choose = QString()) : m_Choose(std::move(choose)) {
        m_Timer.setInterval(5);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { AnswerOpenMenu(); });
        m_Timer.start();
    }

    void Choose(const QString& text) { m_Choose = text; }
    const QList<SShownMenu>& Shown() const { return m_Shown; }

private:
    void AnswerOpenMenu() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || menu == m_LastAnswered || !menu->isVisible()) {
            return;
        }
        m_LastAnswered = menu;
        SShownMenu shown{menu->title(), {}, {}};
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            shown.actions.push_back(action->text());
            if (action->isEnabled()) {
                shown.enabled.push_back(action->text());
            }
            if (action->text() == m_Choose) {
                chosen = action;
            }
        }
        m_Shown.push_back(shown);
        if (chosen != nullptr && chosen->isEnabled()) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    }

    QString m_Choose;
    QTimer m_Timer;
    QList<SShownMenu> m_Shown;
    QPointer<QMenu> m_LastAnswered;
};

}  // namespace timelinetest
