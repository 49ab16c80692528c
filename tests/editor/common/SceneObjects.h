#pragma once
// Puts a new object straight into a document's scene, as a loaded file
// would: named, initialised, at the front of the list, under the scene lock
// (a render thread may be drawing). Header only.

#include "document/CEditorDocument.h"

namespace lvxtest {

template <class TObject>
TObject& AddToScene(CEditorDocument& document, const char* name) {
    auto* object = new TObject();
    object->SetObjName(name);
    object->Init();
    CSceneLock lock(document.Scene());
    document.Scene().AddObject(*object);
    return *object;
}

}  // namespace lvxtest
