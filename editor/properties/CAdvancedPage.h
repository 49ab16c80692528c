#pragma once
// The "Advanced" page of a renderable object: back-face culling, lighting,
// the projection (the scene's 3D camera or a 2D overlay of the screen) and
// whether the object always turns to face the camera. Culling, lighting and
// facing are keyed: the page shows and sets those of the current keyframe.

#include "properties/CObjectPage.h"

class CBaseObject;
class QCheckBox;
class QComboBox;

class CAdvancedPage : public CObjectPage {
    Q_OBJECT

public:
    // The projection combo box's entries, sorted.
    static constexpr int k2DProjection = 0;
    static constexpr int k3DProjection = 1;

    explicit CAdvancedPage(QWidget* parent = nullptr);

    void Refresh() override;

    QCheckBox* CullingCheck() const { return m_pCulling; }
    QCheckBox* LightingCheck() const { return m_pLighting; }
    QComboBox* ProjectionBox() const { return m_pProjection; }
    QCheckBox* FacingCheck() const { return m_pFacing; }

private:
    CBaseObject* Base() const;
    void CommitCulling(bool culling);
    void CommitLighting(bool lighting);
    void CommitProjection(int index);
    void CommitFacing(bool facing);

    QCheckBox* m_pCulling;
    QCheckBox* m_pLighting;
    QComboBox* m_pProjection;
    QCheckBox* m_pFacing;
};
