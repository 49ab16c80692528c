#pragma once
// A docking pane of the frame with the sizes it keeps between runs: one
// for docking at the top or bottom, one at the left or right, one floating,
// each with the smallest and largest size the pane allows there. The sizes
// are read from and written to the settings under the pane's id.

#include <QDockWidget>
#include <QSize>

#include "app/CEditorSettings.h"

struct SDockLayout {
    int id;
    SDockSizes sizes;  // the defaults
    QSize dockedMinimum;
    QSize dockedMaximum;
    QSize floatingMinimum;
    QSize floatingMaximum;
};

class CSizedDock : public QDockWidget {
    Q_OBJECT

public:
    static constexpr int kNoLimit = 40000;

    CSizedDock(const QString& title, const QString& objectName, const SDockLayout& layout, QWidget* parent);

    int Id() const { return m_Layout.id; }
    const SDockLayout& Layout() const { return m_Layout; }
    const SDockSizes& Sizes() const { return m_Sizes; }

    // Takes the stored sizes (values below the pane's minimum are ignored).
    void ReadSizes(const CEditorSettings& settings);
    // Records the pane's current size as the size of where it is now, and
    // writes all sizes.
    void WriteSizes(CEditorSettings& settings);
    // The size the pane wants where it is now.
    QSize PreferredSize() const;

private:
    void ApplyLimits();
    void OnTopLevelChanged(bool floating);

    SDockLayout m_Layout;
    SDockSizes m_Sizes;
};
