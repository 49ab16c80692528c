#include "ObjectTestSupport.h"

#include "support/BmpFile.h"

std::vector<unsigned char> MakeBmp(int width, int height, unsigned int rgb) {
    return EncodeBmp24(width, height, [rgb](int, int) { return rgb; }, {.recordsImageSize = true});
}
