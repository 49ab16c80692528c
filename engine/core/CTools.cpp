#include "core/CTools.h"

#include <algorithm>
#include <cmath>

#include "platform/base/ErrorReport.h"

D3DXVECTOR3 CTools::CrossProduct(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

D3DXVECTOR3 CTools::Normalize(const D3DXVECTOR3& v) {
    const float length = VectorLength(v);
    return D3DXVECTOR3(v.x / length, v.y / length, v.z / length);
}

float CTools::VectorLength(const D3DXVECTOR3& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

D3DXVECTOR3 CTools::GetFaceNormal(const D3DXVECTOR3& p0, const D3DXVECTOR3& p1, const D3DXVECTOR3& p2) {
    const D3DXVECTOR3 edge1(p1.x - p0.x, p1.y - p0.y, p1.z - p0.z);
    const D3DXVECTOR3 edge2(p2.x - p0.x, p2.y - p0.y, p2.z - p0.z);
    return Normalize(CrossProduct(edge1, edge2));
}

float CTools::AngleBetweenVectors(const D3DXVECTOR3& u, const D3DXVECTOR3& v) {
    const float dot = u.x * v.x + u.y * v.y + u.z * v.z;
    const float cosine = dot / VectorLength(u);
    if (std::isnan(cosine)) {
        return cosine;
    }
    return std::acos(std::clamp(cosine, -1.0f, 1.0f));
}

void CTools::Error(const CString& text) {
    ReportError(text, "", ErrorIcon::Error);
}
