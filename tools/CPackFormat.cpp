#include "CPackFormat.h"

CDisplayFormat CPackFormat::Compute(const SPackRequest& request, int previousFlags) {
    int flags = previousFlags;
    if (request.type == TPackType::ScreenSaver) {
        flags |= 1;
        flags &= ~4;
    } else {
        flags &= ~1;
        flags = request.windowed ? (flags | 4) : (flags & ~4);
    }
    flags &= ~(2 | 8);
    return CDisplayFormat(request.resolution, flags, request.title);
}
