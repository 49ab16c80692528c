#pragma once
// What the "Properties" pane asks of each page it shows: which object to
// show, to show it again, and to write a field still being typed in.

class CEditorDocument;
class CObjects;

class IObjectPage {
public:
    virtual ~IObjectPage() = default;

    // Shows `object` (null: none; it belongs to document's scene). When
    // commitPrevious is set and an object is shown, its pending edit is
    // committed first. Ends with Refresh.
    virtual void SetObject(CObjects* object, CEditorDocument& document, bool commitPrevious) = 0;
    // Object -> controls: the values at the object's current keyframe.
    virtual void Refresh() = 0;
    // Controls -> object: the field that has the focus writes its value.
    virtual void Commit() = 0;
};
