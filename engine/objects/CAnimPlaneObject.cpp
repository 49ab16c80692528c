#include "objects/CAnimPlaneObject.h"

#include "core/CScreen.h"

void CAnimPlaneObject::SetVideoSpeed(float speed) {
    m_fVideoSpeed = speed;
    m_fFrameInterval = 1.0f / speed;
}

void CAnimPlaneObject::Play() {
    m_bPlaying = true;
    m_fCurrentTime = 0.0f;
}

void CAnimPlaneObject::Stop() {
    m_bPlaying = false;
    m_fCurrentTime = 0.0f;
}

void CAnimPlaneObject::Render() {
    PreRender();
    StepVideo();
    // A strip of N equal frames side by side. Only the texture coordinates
    // change: the positions, and with them the object's scale, stay.
    const unsigned int images = m_uNumberImages > 0 ? m_uNumberImages : 1;
    const float frames = static_cast<float>(images);
    SetTextureOffset(static_cast<float>(m_uVideoPosition) / frames, 0.0f,
                     static_cast<float>(m_uVideoPosition + 1) / frames, 1.0f);
    RefreshTextureCoordinates();
    CPlaneObject::Render();
}

// At most one frame per rendered frame: once more than a frame interval has
// gathered, the next frame shows and the rest of the gathered time is
// dropped.
void CAnimPlaneObject::StepVideo() {
    CScreen& screen = m_pScreen != nullptr ? *m_pScreen : CScreen::Instance();
    const float now = screen.GetTickCount();
    m_fCurrentTime = now;
    m_fAccumulatedTime += now - m_fLastTime;
    m_fLastTime = now;
    m_uPreviousPosition = m_uVideoPosition;
    if (!m_bPlaying || !(m_fAccumulatedTime > m_fFrameInterval)) {
        return;
    }
    ++m_uVideoPosition;
    m_fAccumulatedTime = 0.0f;
    if (m_uVideoPosition >= m_uNumberImages) {
        m_uVideoPosition = m_bLoop || m_uNumberImages == 0 ? 0 : m_uNumberImages - 1;
    }
}
