#pragma once
// A document for the object list's tests, with objects put straight into
// its scene (as a loaded file would), and the order of its list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/QtTestApplication.h"
#include "common/SceneObjects.h"
#include "document/CEditorDocument.h"
#include "scene/CObjects.h"
#include "support/CScreenStateGuard.h"

class EditorSceneFixture : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    // A new object of that class at the front of the list, as CScene adds.
    template <class TObject>
    TObject& Add(const char* name) {
        return lvxtest::AddToScene<TObject>(m_document, name);
    }

    CScene& Scene() { return m_document.Scene(); }
    std::vector<std::string> ListOrder() {
        std::vector<std::string> names;
        for (int i = 0; i < Scene().GetObjectNumber(); ++i)
            names.push_back(Scene().GetObjectA(i)->GetObjName());
        return names;
    }

    // First: the scene's death still changes the screen's fog.
    CScreenStateGuard m_screenState;
    CEditorDocument m_document;
};
