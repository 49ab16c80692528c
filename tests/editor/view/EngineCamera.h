#pragma once
// The engine camera's eye and direction, for the navigation tests. Header
// only.

#include "core/CScreen.h"

namespace viewtest {

inline D3DXVECTOR3 Eye() {
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    return eye;
}

inline D3DXVECTOR3 Direction() {
    D3DXVECTOR3 eye, direction;
    CScreen::Instance().GetCameraPosition(eye, direction);
    return direction;
}

}  // namespace viewtest
