#pragma once
// Which page a base object of each type has beside "Basic" and "Advanced":
// "Geometry" for the shapes and the height map, "Text" for text,
// "Animation" for animated meshes, none for the other types (file meshes,
// particles ...). The page's tab title is its window title.

#include <QString>

class CObjectPage;
class QWidget;

class CTypePageFactory {
public:
    // A new page for objects of `type` (CObjects::GetObjType, as
    // "CBoxObject"); null when the type has none.
    static CObjectPage* Create(const QString& type, QWidget* parent = nullptr);
};
