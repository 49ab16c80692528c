#pragma once
// "About Brennox 3D Pelavor": the product's name and version, a link to the
// project's home page and the installer builder the export uses.

#include <QDialog>

class QLabel;

class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kProductName = "Brennox 3D Pelavor";
    static constexpr const char* kVersion = "0.3.5";
    static constexpr const char* kHomePage = "https://lumivexis.org/pelavor";
    static constexpr const char* kInstallerLine = "This software uses makeself to create installers.";

    explicit CAboutDialog(QWidget* parent = nullptr);

    QLabel* Link() const { return m_Link; }

private:
    QLabel* m_Link;
};
