#include "export/SExportSettings.h"

#include "controls/QtConvert.h"

namespace {

// The scene file keeps the first 100 bytes of the title: a longer title is
// cut before the character that would not fit whole.
QString FitTitle(QString title) {
    while (title.toUtf8().size() > SExportSettings::kMaxTitleLength) {
        title.chop(title.size() >= 2 && title.back().isLowSurrogate() ? 2 : 1);
    }
    return title;
}

}  // namespace

CDisplayFormat SExportSettings::DisplayFormat(const CDisplayFormat& previous) const {
    int flags = previous.m_iFlags;
    if (type == TExportType::StandardExecutable) {
        flags &= ~kScreenSaverFlag;
        flags = fullscreen ? (flags & ~kWindowedFlag) : (flags | kWindowedFlag);
    } else {
        flags = (flags | kScreenSaverFlag) & ~kWindowedFlag;
    }
    flags &= ~kClearedFlags;
    return CDisplayFormat(resolution, flags, ToCString(FitTitle(windowTitle)));
}

bool SExportSettings::ChoosesExecutableName() const {
    return type == TExportType::StandardExecutable || installer;
}

QString SExportSettings::FileFilter() const {
    return ChoosesExecutableName() ? QStringLiteral("Executables (*.exe)") : QStringLiteral("Screen Savers (*.scr)");
}

QString SExportSettings::DefaultSuffix() const {
    return ChoosesExecutableName() ? QStringLiteral("exe") : QStringLiteral("scr");
}
