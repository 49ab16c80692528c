#pragma once
// How GoogleTest shows Qt values in failure messages (otherwise as raw
// bytes). Header only.

#include <QKeySequence>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}
inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << 'x' << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << '(' << rect.x() << ", " << rect.y() << ") " << rect.width() << 'x' << rect.height();
}
inline void PrintTo(const QKeySequence& keys, std::ostream* out) {
    *out << '<' << keys.toString().toStdString() << '>';
}
