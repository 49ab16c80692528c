#pragma once
// Thrown while a scene is read when a referenced file cannot be found or the
// data is damaged (a text, size, count or record running past the end).
//
// It is thrown by value and caught by reference
//     catch (const CSceneFileException& e) { ... e.GetMessage() ... }
// so that no catching code has to delete it and no path can leak it.

#include <exception>

#include "platform/base/CString.h"

class CSceneFileException : public std::exception {
public:
    explicit CSceneFileException(const CString& message) : m_Message(message) {}

    const CString& GetMessage() const { return m_Message; }
    const char* what() const noexcept override { return m_Message.c_str(); }

private:
    CString m_Message;
};
