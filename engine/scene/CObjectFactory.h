#pragma once
// Creates scene objects from their type names ("CBoxObject", ...), as the
// scene file and the editor's object list need.

#include <functional>
#include <map>

#include "platform/base/CString.h"

class CObjects;

class CObjectFactory {
public:
    using Creator = std::function<CObjects*()>;

    // A new object of that exact (case-sensitive) type name, owned by the
    // caller; null for a name no one knows.
    static CObjects* Get(const CString& type);

    // Adds a type at run time (tests, plug-ins); false when the name is taken.
    // The storable object types are listed in StorableObjectTypes.cpp instead.
    static bool Register(const CString& type, Creator creator);
    static void Unregister(const CString& type);

private:
    using StorableCreator = CObjects* (*)();
    // Every object type a scene file can hold. Defined in
    // StorableObjectTypes.cpp, the one file that knows all the object
    // classes, so that the factory (and the scene file that uses it) does not.
    static const std::map<CString, StorableCreator>& StorableTypes();
};
