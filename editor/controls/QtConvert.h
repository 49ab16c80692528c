#pragma once
// Conversions between the engine's types and Qt's, in one place. The
// engine's strings are UTF-8 byte strings; so are the names Qt gives back.

#include <QString>

#include "platform/base/CString.h"

inline CString ToCString(const QString& text) {
    return CString(text.toStdString());
}

inline QString ToQString(const CString& text) {
    return QString::fromStdString(text);
}
