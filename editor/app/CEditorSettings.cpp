#include "app/CEditorSettings.h"

#include <QFile>
#include <QSettings>

namespace {

const QString kSettings = QStringLiteral("settings/");
const QString kPlacement = QStringLiteral("Main Window Coordinates/");

}  // namespace

CEditorSettings::CEditorSettings()
    : m_Settings(
          std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication)) {
    CheckReadable();
}

CEditorSettings::CEditorSettings(const QString& fileName)
    : m_Settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {
    CheckReadable();
}

void CEditorSettings::CheckReadable() {
    // QSettings parses the file at the first read, and only then knows
    // whether it could.
    m_Settings->childGroups();
    m_Readable = m_Settings->status() == QSettings::NoError;
}

CEditorSettings::~CEditorSettings() = default;

QString CEditorSettings::FileName() const {
    return m_Settings->fileName();
}

int CEditorSettings::ReadInt(const QString& key, int fallback) const {
    if (!m_Readable) {
        return fallback;
    }
    const QVariant value = m_Settings->value(key);
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? number : fallback;
}

void CEditorSettings::WriteInt(const QString& key, int value) {
    if (!m_Readable) {
        // What could not be parsed is kept beside the new file rather than
        // overwritten, in case the user wants it back.
        const QString fileName = m_Settings->fileName();
        m_Settings.reset();
        QFile::remove(fileName + QStringLiteral(".damaged"));
        QFile::rename(fileName, fileName + QStringLiteral(".damaged"));
        m_Settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
        m_Readable = true;
    }
    m_Settings->setValue(key, value);
}

bool CEditorSettings::ReadFlag(const QString& key, int fallback) const {
    return ReadInt(key, fallback) == 1;
}

bool CEditorSettings::Grid() const {
    return ReadFlag(kSettings + "grid", 1);
}

void CEditorSettings::SetGrid(bool grid) {
    WriteInt(kSettings + "grid", grid ? 1 : 0);
}

bool CEditorSettings::FpsCounter() const {
    return ReadFlag(kSettings + "fps counter", 0);
}

void CEditorSettings::SetFpsCounter(bool show) {
    WriteInt(kSettings + "fps counter", show ? 1 : 0);
}

bool CEditorSettings::InvertAxis() const {
    return ReadFlag(kSettings + "invert axis", 0);
}

void CEditorSettings::SetInvertAxis(bool invert) {
    WriteInt(kSettings + "invert axis", invert ? 1 : 0);
}

int CEditorSettings::Angles() const {
    return ReadInt(kSettings + "angles", 0);
}

void CEditorSettings::SetAngles(int angles) {
    WriteInt(kSettings + "angles", angles);
}

int CEditorSettings::ViewSize() const {
    return ReadInt(kSettings + "view size", kDefaultViewSize);
}

void CEditorSettings::SetViewSize(int viewSize) {
    WriteInt(kSettings + "view size", viewSize);
}

SWindowPlacement CEditorSettings::Placement() const {
    const SWindowPlacement defaults;
    SWindowPlacement placement;
    placement.x1 = ReadInt(kPlacement + "x1", defaults.x1);
    placement.y1 = ReadInt(kPlacement + "y1", defaults.y1);
    placement.x2 = ReadInt(kPlacement + "x2", defaults.x2);
    placement.y2 = ReadInt(kPlacement + "y2", defaults.y2);
    placement.xmin = ReadInt(kPlacement + "xmin", defaults.xmin);
    placement.ymin = ReadInt(kPlacement + "ymin", defaults.ymin);
    placement.xmax = ReadInt(kPlacement + "xmax", defaults.xmax);
    placement.ymax = ReadInt(kPlacement + "ymax", defaults.ymax);
    placement.flags = ReadInt(kPlacement + "flags", defaults.flags);
    placement.show = ReadInt(kPlacement + "show", defaults.show);
    return placement;
}

void CEditorSettings::SetPlacement(const SWindowPlacement& placement) {
    WriteInt(kPlacement + "x1", placement.x1);
    WriteInt(kPlacement + "y1", placement.y1);
    WriteInt(kPlacement + "x2", placement.x2);
    WriteInt(kPlacement + "y2", placement.y2);
    WriteInt(kPlacement + "xmin", placement.xmin);
    WriteInt(kPlacement + "ymin", placement.ymin);
    WriteInt(kPlacement + "xmax", placement.xmax);
    WriteInt(kPlacement + "ymax", placement.ymax);
    WriteInt(kPlacement + "flags", placement.flags);
    WriteInt(kPlacement + "show", placement.show);
}

QByteArray CEditorSettings::BarState() const {
    if (!m_Readable) {
        return {};
    }
    const QVariant value = m_Settings->value(QString::fromLatin1(kBarStateName) + "/state");
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void CEditorSettings::SetBarState(const QByteArray& state) {
    WriteInt(QString::fromLatin1(kBarStateName) + "/version", 1);
    m_Settings->setValue(QString::fromLatin1(kBarStateName) + "/state", state);
}

QString CEditorSettings::DockSection(int dockId) {
    return QStringLiteral("%1-SCBar-%2").arg(QString::fromLatin1(kBarStateName)).arg(dockId);
}

int CEditorSettings::ReadSize(const QString& key, int fallback, int minimum) const {
    const int value = ReadInt(key, fallback);
    return value < minimum ? fallback : value;
}

SDockSizes CEditorSettings::DockSizes(int dockId, const SDockSizes& defaults, QSize minimum) const {
    const QString section = DockSection(dockId) + "/";
    auto read = [&](const char* name, const QSize& fallback) {
        return QSize(ReadSize(section + name + "CX", fallback.width(), minimum.width()),
                     ReadSize(section + name + "CY", fallback.height(), minimum.height()));
    };
    SDockSizes sizes;
    sizes.horizontal = read("sizeHorz", defaults.horizontal);
    sizes.vertical = read("sizeVert", defaults.vertical);
    sizes.floating = read("sizeFloat", defaults.floating);
    return sizes;
}

void CEditorSettings::SetDockSizes(int dockId, const SDockSizes& sizes) {
    const QString section = DockSection(dockId) + "/";
    auto write = [&](const char* name, const QSize& size) {
        WriteInt(section + name + "CX", size.width());
        WriteInt(section + name + "CY", size.height());
    };
    write("sizeHorz", sizes.horizontal);
    write("sizeVert", sizes.vertical);
    write("sizeFloat", sizes.floating);
}

void CEditorSettings::Sync() {
    m_Settings->sync();
}
