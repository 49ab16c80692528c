#pragma once
// A pixel shader that paints everything pure red, bound on the device as an
// object with an effect leaves it: tests then check that whatever draws next
// is not red. Header only over the engine's shader effect; the device must
// outlive it.

#include <gtest/gtest.h>

#include "objects/CShaderEffect.h"

class CRedPixelShader {
public:
    explicit CRedPixelShader(IDirect3DDevice8* device) : m_effect(device) {
        m_effect.SetPixelCode("ps.1.1\ndef c0, 1.0, 0.0, 0.0, 1.0\nmov r0, c0");
        m_effect.Init();
        EXPECT_NE(Handle(), 0u);
        device->SetPixelShader(Handle());
    }

    DWORD Handle() const { return m_effect.GetPixelShaderID(); }

private:
    CShaderEffect m_effect;
};
