#include "export/SInstallerNames.h"

#include <algorithm>

namespace {

const QString kInstallerSuffix = QStringLiteral(".run");

qsizetype LastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

// "demo.exe": a dot before the last three characters.
bool HasThreeLetterExtension(const QString& name) {
    return name.size() >= 5 && name.at(name.size() - 4) == QLatin1Char('.');
}

}  // namespace

QString SInstallerNames::FileNameOf(const QString& path) {
    return path.mid(LastSeparator(path) + 1);
}

QString SInstallerNames::SmallName(const QString& screensaverName) {
    if (screensaverName.size() <= 12) {
        return screensaverName;
    }
    return screensaverName.left(6).toUpper() + QStringLiteral("~1.SCR");
}

SInstallerNames SInstallerNames::FromChosenPath(const QString& chosenPath) {
    const QString chosenName = FileNameOf(chosenPath);
    SInstallerNames names;
    if (HasThreeLetterExtension(chosenName)) {
        names.screensaverPath = chosenPath.chopped(3) + QStringLiteral("scr");
        names.outputName = chosenName.chopped(4);
    } else {
        names.screensaverPath = chosenPath + QStringLiteral(".scr");
        names.outputName = chosenName;
    }
    names.screensaverName = FileNameOf(names.screensaverPath);
    names.outputFolder = names.screensaverPath.left(LastSeparator(names.screensaverPath) + 1);
    names.smallName = SmallName(names.screensaverName);
    names.installerPath = names.outputFolder + names.outputName + kInstallerSuffix;
    return names;
}
