#include "meshes/CMeshBufferFiller.h"

#include <vector>

#include "objects/CBaseObject.h"

void CMeshBufferFiller::SetMaterialsAndSizes(CBaseObject& object, const SMesh& mesh, bool keepTextures) {
    const int count = static_cast<int>(mesh.materials.size());
    // Setting the material count clears the texture names: keep the ones the
    // user chose (or the scene file restored).
    std::vector<CString> kept;
    for (int i = 0; keepTextures && i < object.GetNumberMaterials(); ++i) {
        kept.push_back(object.GetTexture(i));
    }
    object.SetNumberVertices(static_cast<int>(mesh.GetNumVertices()));
    object.SetNumberFaces(static_cast<int>(mesh.GetNumFaces()));
    object.SetNumberMaterials(count);
    for (int i = 0; i < count; ++i) {
        const SMeshMaterial& material = mesh.materials[static_cast<size_t>(i)];
        object.SetMaterial(material.material, i);
        const bool keep = i < static_cast<int>(kept.size()) && !kept[static_cast<size_t>(i)].empty();
        object.SetTexture(keep ? kept[static_cast<size_t>(i)] : material.texture, i);
        object.SetMaterialIndex(i, static_cast<int>(material.endFace));
    }
}

void CMeshBufferFiller::CopyGeometry(CBaseObject& object, const SMesh& mesh, bool bothPairs) {
    DWORD count = 0;
    if (WORD* index = object.LockIB(count)) {
        const size_t indexCount =
            std::min<size_t>(mesh.indices.size(), static_cast<size_t>(object.GetNumberFaces()) * 3);
        for (size_t i = 0; i < indexCount; ++i) {
            index[i] = static_cast<WORD>(mesh.indices[i]);
        }
        object.UnlockIB();
    }
    S3DVERTEX* vertex = object.LockVB(count);
    if (vertex == nullptr) {
        return;
    }
    const size_t vertexCount = std::min<size_t>(mesh.vertices.size(), static_cast<size_t>(object.GetNumberVertices()));
    for (size_t i = 0; i < vertexCount; ++i) {
        const SMeshVertex& source = mesh.vertices[i];
        vertex->x = source.x;
        vertex->y = source.y;
        vertex->z = source.z;
        vertex->tu1 = source.u;
        vertex->tv1 = source.v;
        if (bothPairs) {
            vertex->tu2 = source.u;
            vertex->tv2 = source.v;
        }
        object.IncVertex(vertex);
    }
    object.UnlockVB(true, true);
}
