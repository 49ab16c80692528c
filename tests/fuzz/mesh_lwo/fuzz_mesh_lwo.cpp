// Arbitrary bytes as a LightWave file embedded in a scene file.

#include "../MeshLoaderFuzz.h"
#include "meshes/CLWOMeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzMeshLoader<CLWOMeshLoader>("models\\model.lwo", data, size);
    return 0;
}
