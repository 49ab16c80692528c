// Arbitrary bytes as a 3D Studio file embedded in a scene file.

#include "../MeshLoaderFuzz.h"
#include "meshes/C3DSMeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzMeshLoader<C3DSMeshLoader>("models\\model.3ds", data, size);
    return 0;
}
