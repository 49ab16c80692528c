#pragma once
// A plane that plays a strip of frames from one texture: the texture holds N
// equal frames side by side, and the plane shows one of them at a time,
// stepping at the video speed (frames per second) while it plays.

#include "objects/CPlaneObject.h"

class CAnimPlaneObject : public CPlaneObject {
public:
    CAnimPlaneObject() = default;

    // Steps the video with the scene clock, points the texture window at the
    // current frame, then draws the plane.
    void Render() override;

    void SetNumberImages(unsigned int images) { m_uNumberImages = images; }
    unsigned int GetNumberImages() const { return m_uNumberImages; }
    void SetVideoPosition(unsigned int frame) { m_uVideoPosition = frame; }
    unsigned int GetVideoPosition() const { return m_uVideoPosition; }
    // The frame shown by the previous Render.
    unsigned int GetPreviousPosition() const { return m_uPreviousPosition; }
    // Frames per second.
    void SetVideoSpeed(float speed);
    float GetVideoSpeed() const { return m_fVideoSpeed; }
    // Whether the video starts again after its last frame, or stays there.
    void SetLoop(bool loop) { m_bLoop = loop; }
    bool GetLoop() const { return m_bLoop; }

    void Play();
    // Freezes the video on its current frame.
    void Stop();
    bool IsPlaying() const { return m_bPlaying; }

private:
    void StepVideo();

    unsigned int m_uNumberImages = 1;
    unsigned int m_uVideoPosition = 0;
    float m_fVideoSpeed = 10.0f;
    bool m_bPlaying = false;
    unsigned int m_uPreviousPosition = 0;
    float m_fCurrentTime = 0.0f;
    float m_fAccumulatedTime = 0.0f;
    float m_fLastTime = 0.0f;
    float m_fFrameInterval = 0.1f;
    bool m_bLoop = true;
};
