#pragma once
// The movement controller: moves a point along a path of control points at
// the speed each point gives, rather than by keyframe times. Each frame it
// advances a travelled distance by speed x elapsed scene time and evaluates
// the path at that arc length: a position, a viewing direction, an up
// vector, the speed and a zoom (field of view). It drives the screen's
// camera (CScreen::SetCamera(CMove&)) or orients an object
// (CBaseObject::SetDirection(CMove&)); the direction may instead point at a
// fixed position or at an object. A path is written to and read from a
// small text file (CMovePathFile).
//
//   CMove move;
//   move.SetFilename("media/paths/flight.txt");
//   move.Load();
//   move.SetAsCamera(true);             // the zoom sets the screen's field of view
//   ... each frame: CScreen::Instance().SetCamera(move);
//
// Distances: every change of the points or the mode samples each segment at
// u = 0, 0.1, ..., 0.9 and at its end, summing the straight distances, and a
// distance maps back to a segment and u by a binary search over those sums
// with linear steps between them. The path runs from its first point to its
// last, so GetTotalDistance() is the segment length of the point before the
// last. The last point's own table covers the segment that wraps round to
// point 1, which no distance reaches.
//
// Indices outside 0 .. count-1 are ignored (readers give 0). Not
// thread-safe: set it up and use it on one thread, the render thread when
// it drives the camera.

#include <vector>

#include "animation/CMovePoint.h"
#include "platform/base/CString.h"
#include "platform/d3dx/d3dx8math.h"

class CBaseObject;

class CMove {
public:
    // The point table's capacity.
    static constexpr int kMaxPoints = 256;

    CMove();
    virtual ~CMove() = default;
    CMove(const CMove&) = default;
    CMove& operator=(const CMove&) = default;

    // --- points (each change recomputes the arc-length tables) ---
    // Appends a point; a full table refuses it with a message (false).
    bool AddPoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux, float uy, float uz,
                  float zoom);
    // Inserts before index (count appends); false when full or out of range.
    bool InsertPoint(int index, float px, float py, float pz, float dx, float dy, float dz, float speed, float ux,
                     float uy, float uz, float zoom);
    void UpdatePoint(int index, float px, float py, float pz, float dx, float dy, float dz, float speed, float ux,
                     float uy, float uz, float zoom);
    // UpdatePoint with the index last.
    void ChangePoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux, float uy,
                     float uz, float zoom, int index);
    void DelPoint(int index);
    void GetPoint(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed, float& ux, float& uy,
                  float& uz, float& zoom, int index) const;
    int GetNumberPoints() const { return static_cast<int>(m_Points.size()); }

    // index -1: every point.
    void SetSpeed(float speed, int index);
    float GetSpeed(int index) const;
    void SetZoom(float zoom, int index);
    float GetZoom(int index) const;

    // A value outside tMoveMode is ignored.
    void SetMode(tMoveMode mode);
    tMoveMode GetMode() const { return m_Mode; }
    // Loop: passing the end starts again at the first point; otherwise the
    // controller stays at the end.
    void SetLoop(bool loop) { m_bLoop = loop; }
    bool GetLoop() const { return m_bLoop; }
    // As camera: every evaluation sets the screen's field of view to the zoom.
    void SetAsCamera(bool asCamera) { m_bAsCamera = asCamera; }
    bool GetAsCamera() const { return m_bAsCamera; }

    // The direction points from the path at this position, or at the
    // object's position (the object wins when both are set; it is not owned
    // and must outlive the controller's use of it).
    void SetPositionToFollow(float x, float y, float z);
    void SetPositionToFollow(const D3DXVECTOR3& position);
    void SetObjectToFollow(CBaseObject& object);

    // --- playback ---
    void Play() { m_fPlayFactor = 1.0f; }
    // The distance stops advancing; Play continues from there.
    void Stop() { m_fPlayFactor = 0.0f; }
    // Back to the first point, from the current scene time on.
    void Reset();

    // Advance by the scene time elapsed since the last call and evaluate
    // there. A scene time earlier than the last call's means the scene clock
    // was reset: the controller starts again from the first point.
    void GetCurrentPosition(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed, float& ux,
                            float& uy, float& uz, float& zoom);
    void GetCurrentPosition(float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& ux, float& uy,
                            float& uz);
    // The speed of the last evaluation (10 after Reset).
    float GetCurrentSpeed() const { return m_fCurrentSpeed; }
    // Advances, as GetCurrentPosition does.
    float GetCurrentZoom();

    // --- distances ---
    // The path at a distance from its first point. Past the end it gives the
    // end, and a looping controller starts again from the first point with
    // its next frame. No points: the origin, looking along z; one point:
    // that point.
    void GetPosition(float distance, float& px, float& py, float& pz, float& dx, float& dy, float& dz, float& speed,
                     float& ux, float& uy, float& uz, float& zoom);
    // The segment (index of its first point) that a distance lies in.
    int GetSegment(float distance) const;
    // The point's segment length: the path's length up to the end of the
    // segment that starts at the point.
    float GetDistance(int index) const;
    float GetTotalDistance() const;

    // --- the path file (see CMovePathFile) ---
    void SetFilename(const CString& filename) { m_Filename = filename; }
    const CString& GetFilename() const { return m_Filename; }
    // False, after a message, when the file cannot be written.
    bool Save() const;
    // Appends the file's points (the points there stay) and takes its mode
    // and loop flag. A file that cannot be read, is damaged or would take
    // the path past kMaxPoints is refused with a message (false) and changes
    // nothing.
    bool Load();

private:
    static CMovePoint MakePoint(float px, float py, float pz, float dx, float dy, float dz, float speed, float ux,
                                float uy, float uz, float zoom);
    static void ReadPoint(const CMovePoint& point, float& px, float& py, float& pz, float& dx, float& dy, float& dz,
                          float& speed, float& ux, float& uy, float& uz, float& zoom);
    bool IsValidIndex(int index) const;
    bool HasRoomForPoint() const;

    CMovePoint Advance();
    CMovePoint Evaluate(float distance);
    CMovePoint PointOnPath(float distance) const;
    CMovePoint PointOnSegment(int segment, float u) const;
    D3DXVECTOR3 PositionOnSegment(int segment, float u) const;
    D3DXVECTOR3 Blend(float u, const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2,
                      const D3DXVECTOR3& p3) const;
    void Follow(CMovePoint& point) const;

    void RecomputeTables();
    // Knot k of the tables: sample k % 11 of segment k / 11, where sample 10
    // is the segment's end.
    float KnotLength(int knot) const;
    int KnotCount() const;
    void Locate(float distance, int& segment, float& u) const;

    tMoveMode m_Mode = MM_LINEAR;
    std::vector<CMovePoint> m_Points;  // at most kMaxPoints; the point count is its size
    float m_fPlayFactor = 1.0f;
    float m_fCurrentSpeed = 10.0f;
    float m_fStartTime = 0.0f;
    float m_fLastFrameTime = 0.0f;
    float m_fFrameDelta = 0.0f;
    bool m_bAsCamera = false;
    bool m_bLoop = true;
    D3DXVECTOR3 m_vPositionToFollow{0.0f, 0.0f, 0.0f};
    bool m_bFollowPosition = false;
    CBaseObject* m_pObjectToFollow = nullptr;
    bool m_bFollowObject = false;
    float m_fDistance = 0.0f;
    CString m_Filename;
};
