#pragma once
// The editor's persistent settings, kept by QSettings under organisation and
// application "Brennox Skyloom" (on Linux
// ~/.config/Brennox Skyloom/Brennox Skyloom.conf):
//
//   [settings]                  grid, invert axis, angles, view size
//   [Main Window Coordinates]   x1 y1 x2 y2 xmin ymin xmax ymax flags show
//   [Brennox_SCSB_BARSTATE]     the dock layout (QMainWindow::saveState)
//   [Brennox_SCSB_BARSTATE-SCBar-<id>]  each dock's docked and floating sizes
//
// Every value is an integer (booleans as 0 or 1). A value that is missing
// or not a number reads as its default, and so does every value of a file
// that QSettings cannot parse: a damaged or foreign file never stops the
// editor. User-interface thread only.

#include <QByteArray>
#include <QSize>
#include <QString>
#include <memory>

class QSettings;

// The window's place as the settings keep it: the normal (not maximised)
// rectangle from (x1, y1) to (x2, y2), the minimised and maximised
// positions, the flags and how the window is shown (3: maximised).
struct SWindowPlacement {
    static constexpr int kShowMaximized = 3;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowNormal = 1;
    static constexpr int kRestoreToMaximized = 2;  // in flags

    int x1 = 20;
    int y1 = 20;
    int x2 = 1024;
    int y2 = 768;
    int xmin = 0;
    int ymin = 0;
    int xmax = 100000;
    int ymax = 100000;
    int flags = 0;
    int show = 0;

    bool operator==(const SWindowPlacement&) const = default;
};

// A dock's sizes: docked at the top or bottom (horizontal), at the left or
// right (vertical), and floating.
struct SDockSizes {
    QSize horizontal;
    QSize vertical;
    QSize floating;

    bool operator==(const SDockSizes&) const = default;
};

class CEditorSettings {
public:
    static constexpr const char* kOrganisation = "Brennox Skyloom";
    static constexpr const char* kApplication = "Brennox Skyloom";
    static constexpr const char* kBarStateName = "Brennox_SCSB_BARSTATE";

    static constexpr int kDefaultViewSize = 800;

    // The user's settings file.
    CEditorSettings();
    // Another file in the same format.
    explicit CEditorSettings(const QString& fileName);
    ~CEditorSettings();
    CEditorSettings(const CEditorSettings&) = delete;
    CEditorSettings& operator=(const CEditorSettings&) = delete;

    QString FileName() const;
    // False when the file exists but could not be parsed (all values then
    // read as their defaults; writing replaces the file).
    bool IsReadable() const { return m_Readable; }

    bool Grid() const;
    void SetGrid(bool grid);
    bool InvertAxis() const;
    void SetInvertAxis(bool invert);
    // 0: degrees, 1: grads, 2: radians.
    int Angles() const;
    void SetAngles(int angles);
    // The 3D view's back-buffer width; read as stored (the view maps
    // unknown widths to 640).
    int ViewSize() const;
    void SetViewSize(int viewSize);
    // The 3D view's frame-rate counter ("fps counter"; off by default).
    bool FpsCounter() const;
    void SetFpsCounter(bool show);

    SWindowPlacement Placement() const;
    void SetPlacement(const SWindowPlacement& placement);

    // Empty when none was stored.
    QByteArray BarState() const;
    void SetBarState(const QByteArray& state);

    // The sizes of the dock with that id; a stored size below minimum (in
    // either direction) gives the default's value instead.
    SDockSizes DockSizes(int dockId, const SDockSizes& defaults, QSize minimum) const;
    void SetDockSizes(int dockId, const SDockSizes& sizes);
    static QString DockSection(int dockId);

    // Writes pending changes to the file.
    void Sync();

private:
    void CheckReadable();
    int ReadInt(const QString& key, int fallback) const;
    void WriteInt(const QString& key, int value);
    bool ReadFlag(const QString& key, int fallback) const;
    // A stored size value, or the fallback when it is missing or too small.
    int ReadSize(const QString& key, int fallback, int minimum) const;

    std::unique_ptr<QSettings> m_Settings;
    bool m_Readable = true;
};
