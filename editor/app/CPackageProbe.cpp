#include "app/CPackageProbe.h"

#include <QFile>
#include <cstdint>

bool CPackageProbe::IsPackage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kTrailerSize || !file.seek(file.size() - kTrailerSize)) {
        return false;
    }
    const QByteArray trailer = file.read(14);
    if (trailer.size() != 14 || trailer[0] != '\x0D' || trailer[1] != '\x0E') {
        return false;
    }
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= static_cast<std::uint32_t>(static_cast<unsigned char>(trailer[10 + i])) << (8 * i);
    }
    return length >= static_cast<std::uint32_t>(kTrailerSize) && static_cast<qint64>(length) < file.size();
}
