#pragma once
// Copies a loaded SMesh into a base object's buffers and materials: the
// shared part of the file mesh objects' Init.

#include "meshes/SMesh.h"

class CBaseObject;

class CMeshBufferFiller {
public:
    // Whether the object can draw the mesh: its material ranges end at most
    // at face 32,767 (the base object keeps them as 16-bit signed values)
    // unless there is only one material. Shows why when it cannot.
    static bool FitsObject(const SMesh& mesh);
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
