// Feeds arbitrary bytes to the decoding half of D3DXCreateTextureFromFileInMemoryEx
// and D3DXCreateCubeTextureFromFileInMemory: type detection, stb_image, the
// length checks, DDS parsing and DXT decoding, then the mip chain and normal
// map built from whatever decoded. Creating GL textures adds nothing a
// fuzzer could reach, so no device is made.
//
// stb_image is compiled into this target from its header (instead of taken
// from libstb.a) so that the sanitizers and the coverage instrumentation see
// inside it; the linker then leaves libstb.a's copy out.

#include <cstddef>
#include <cstdint>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#pragma GCC diagnostic pop

#include "platform/d3dxtex/CImageDecoder.h"
#include "platform/d3dxtex/CMipChain.h"
#include "platform/d3dxtex/CNormalMapGenerator.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

namespace {

// Small enough that a fuzzer's memory limit is never the finding.
constexpr UINT kFuzzMaxEdge = 1024;
// The mip chain and the normal map only for images up to this many texels.
constexpr std::size_t kProcessTexels = 64 * 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDecodedImage image;
    if (FAILED(CImageDecoder(kFuzzMaxEdge).Decode(data, size, image))) {
        return 0;
    }
    for (const std::vector<CPixelImage>& face : image.surfaces) {
        const CPixelImage& base = face.at(0);
        if (static_cast<std::size_t>(base.Width()) * base.Height() > kProcessTexels) {
            continue;
        }
        const UINT levels = CMipChain::FullLevelCount(base.Width(), base.Height());
        CMipChain::Build(face, levels, D3DX_DEFAULT);
        CNormalMapGenerator(D3DX_CHANNEL_RED, D3DX_NORMALMAP_COMPUTE_OCCLUSION, 2.0f).Generate(base);
    }
    return 0;
}
