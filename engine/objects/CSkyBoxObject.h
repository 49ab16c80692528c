#pragma once
// The scene's sky: a large box seen from inside, one picture per face,
// always centred on the viewer so that its faces look infinitely far away.
// Unlit, both sides drawn, one material per face.
//
// The pictures may be set before the box is initialised: the names are
// kept here and applied to the face materials by Init (and again after a
// device reset).

#include "objects/CBoxObject.h"
#include "platform/base/CString.h"

class CScreen;

class CSkyBoxObject : public CBoxObject {
public:
    // Face materials, in the box's face order.
    enum TFace : int {
        TOP = 0,
        BACK = 1,
        RIGHT = 2,
        FRONT = 3,
        LEFT = 4,
        BOTTOM = 5
    };

    CSkyBoxObject() = default;

    // A 500-unit box with six grey, unlit face materials and the stored
    // pictures. Type and description stay the box's.
    bool Init() override;
    // Moves the box to the camera, then draws it.
    void Render() override;

    // Each setter keeps the name and loads the picture onto its face at once
    // (once the box is initialised; before that Init loads it).
    void SetTopPicture(const CString& name);
    void SetBackPicture(const CString& name);
    void SetRightPicture(const CString& name);
    void SetFrontPicture(const CString& name);
    void SetLeftPicture(const CString& name);
    void SetBottomPicture(const CString& name);
    const CString& GetTopPicture() const { return m_TopPicture; }
    const CString& GetBackPicture() const { return m_BackPicture; }
    const CString& GetRightPicture() const { return m_RightPicture; }
    const CString& GetFrontPicture() const { return m_FrontPicture; }
    const CString& GetLeftPicture() const { return m_LeftPicture; }
    const CString& GetBottomPicture() const { return m_BottomPicture; }

private:
    void ApplyPictures();

    CString m_BackPicture;
    CString m_FrontPicture;
    CString m_TopPicture;
    CString m_BottomPicture;
    CString m_LeftPicture;
    CString m_RightPicture;
    CScreen* m_pCameraScreen = nullptr;  // where the camera position comes from
};
