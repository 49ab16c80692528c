#include "platform/d3dxtex/CMipChain.h"

#include <algorithm>
#include <utility>

#include "platform/d3dxtex/CImageResampler.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

UINT CMipChain::FullLevelCount(UINT width, UINT height) {
    UINT edge = std::max(width, height);
    UINT levels = 1;
    while (edge > 1) {
        edge /= 2;
        ++levels;
    }
    return levels;
}

UINT CMipChain::LevelEdge(UINT baseEdge, UINT level) {
    return level >= 32 ? 1u : std::max(1u, baseEdge >> level);
}

std::vector<CPixelImage> CMipChain::Build(std::vector<CPixelImage> provided, UINT levelCount, DWORD mipFilter) {
    std::vector<CPixelImage> levels;
    if (provided.empty() || levelCount == 0) {
        return levels;
    }
    const DWORD filter = mipFilter == D3DX_DEFAULT ? D3DX_FILTER_BOX : mipFilter;
    const UINT baseWidth = provided[0].Width();
    const UINT baseHeight = provided[0].Height();
    levels.reserve(levelCount);
    for (UINT level = 0; level < levelCount; ++level) {
        const UINT width = LevelEdge(baseWidth, level);
        const UINT height = LevelEdge(baseHeight, level);
        if (level < provided.size() && provided[level].Width() == width && provided[level].Height() == height) {
            levels.push_back(std::move(provided[level]));
        } else {
            levels.push_back(CImageResampler::Resize(levels.back(), width, height, filter));
        }
    }
    return levels;
}
