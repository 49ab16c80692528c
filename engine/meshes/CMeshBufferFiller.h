#pragma once
// Copies a loaded SMesh into a base object's buffers and materials: the
// shared part of the file mesh objects' Init.

#include "meshes/SMesh.h"

class CBaseObject;

class CMeshBufferFiller {
public:
    // Creates the buffers for the mesh's vertices and faces and sets one
    // material per mesh material with its face range. Texture names the
    // object already has for a material are kept when keepTextures is set;
    // the others come from the mesh.
    static void SetMaterialsAndSizes(CBaseObject& object, const SMesh& mesh, bool keepTextures);
    // Copies the indices (16-bit) and vertices (position, the texture pair
    // in the first set, and in the second as well when bothPairs) and
    // unlocks the vertex buffer with normals computed.
    static void CopyGeometry(CBaseObject& object, const SMesh& mesh, bool bothPairs);
};
