#pragma once
// The levels of a mipmapped texture: each level halves the one above it
// (rounding down, never below 1), down to 1 x 1 for a full chain. Levels the
// caller does not supply are made from the level above with a box filter
// (or the filter asked for), which for even sizes is the plain average of
// each 2 x 2 block.

#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CPixelImage.h"

class CMipChain {
public:
    // Number of levels of a full chain for a width x height base.
    static UINT FullLevelCount(UINT width, UINT height);
    // Edge length of `level` for a base edge of `baseEdge`.
    static UINT LevelEdge(UINT baseEdge, UINT level);

    // Builds `levelCount` levels from `provided` (at least level 0, whose
    // size is the base). Provided levels are kept where their size is the
    // one the chain needs; the others are filtered from the level above.
    static std::vector<CPixelImage> Build(std::vector<CPixelImage> provided, UINT levelCount, DWORD mipFilter);
};
