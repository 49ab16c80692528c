// Arbitrary bytes as a DirectX ".x" file (text, binary or compressed)
// embedded in a scene file.

#include "../MeshLoaderFuzz.h"
#include "meshes/CXMeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzMeshLoader<CXMeshLoader>("models\\model.x", data, size);
    return 0;
}
