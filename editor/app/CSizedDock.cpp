#include "app/CSizedDock.h"

#include <QMainWindow>

CSizedDock::CSizedDock(const QString& title, const QString& objectName, const SDockLayout& layout, QWidget* parent)
    : QDockWidget(title, parent), m_Layout(layout), m_Sizes(layout.sizes) {
    setObjectName(objectName);
    ApplyLimits();
    connect(this, &QDockWidget::topLevelChanged, this, &CSizedDock::OnTopLevelChanged);
}

void CSizedDock::ReadSizes(const CEditorSettings& settings) {
    const QSize minimum = m_Layout.dockedMinimum.boundedTo(m_Layout.floatingMinimum);
    m_Sizes = settings.DockSizes(m_Layout.id, m_Layout.sizes, minimum);
}

QSize CSizedDock::PreferredSize() const {
    if (isFloating()) {
        return m_Sizes.floating;
    }
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    const Qt::DockWidgetArea area =
        window != nullptr ? window->dockWidgetArea(const_cast<CSizedDock*>(this)) : Qt::LeftDockWidgetArea;
    return area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea ? m_Sizes.horizontal : m_Sizes.vertical;
}

void CSizedDock::WriteSizes(CEditorSettings& settings) {
    if (isVisible()) {
        if (isFloating()) {
            m_Sizes.floating = size();
        } else {
            auto* window = qobject_cast<QMainWindow*>(parentWidget());
            const Qt::DockWidgetArea area = window != nullptr ? window->dockWidgetArea(this) : Qt::LeftDockWidgetArea;
            if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea) {
                m_Sizes.horizontal = size();
            } else {
                m_Sizes.vertical = size();
            }
        }
    }
    settings.SetDockSizes(m_Layout.id, m_Sizes);
}

void CSizedDock::ApplyLimits() {
    if (isFloating()) {
        setMinimumSize(m_Layout.floatingMinimum);
        setMaximumSize(m_Layout.floatingMaximum);
    } else {
        setMinimumSize(m_Layout.dockedMinimum);
        setMaximumSize(m_Layout.dockedMaximum);
    }
}

void CSizedDock::OnTopLevelChanged(bool floating) {
    ApplyLimits();
    if (floating) {
        resize(m_Sizes.floating.boundedTo(m_Layout.floatingMaximum).expandedTo(m_Layout.floatingMinimum));
    }
}
