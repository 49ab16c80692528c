#pragma once
// The names an export with installer works with, all made from the file the
// user chose (say "/home/ann/out/demo.exe"):
//
//   screensaverName  "demo.scr"         the chosen name, last three characters "scr"
//   screensaverPath  "/home/ann/out/demo.scr"
//   outputFolder     "/home/ann/out/"   with its final separator
//   outputName       "demo"             the chosen name without its last four characters
//   smallName        "demo.scr"         the 8.3 form ("MYSPEC~1.SCR" for "MySpecialSaver.scr")
//   installerPath    "/home/ann/out/demo.run"
//
// Paths are split at the last "/" or "\". A name without a three-letter
// extension keeps its whole self: "demo" gives "demo.scr" and "demo".

#include <QString>

struct SInstallerNames {
    QString screensaverName;
    QString screensaverPath;
    QString outputFolder;
    QString outputName;
    QString smallName;
    QString installerPath;

    static SInstallerNames FromChosenPath(const QString& chosenPath);

    // The part after the last "/" or "\" (the whole text when it has none).
    static QString FileNameOf(const QString& path);
    // A name longer than 12 characters: its first six upper case, "~1.SCR".
    static QString SmallName(const QString& screensaverName);
};
