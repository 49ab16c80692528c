#pragma once
// Compiles and links one GLSL program pair and connects it to the device's
// shared inputs: the five uniform blocks (fixed-function transforms, vertex
// and pixel values, shader constants) at their binding points and the
// sampler of each texture stage at that stage's unit. GL thread only.

#include <string>

class CGLProgramLinker {
public:
    // The linked program (left bound), or 0 when a half fails to compile or
    // the pair fails to link; `what` names the program in the report on stderr.
    static unsigned Link(const std::string& vertexSource, const std::string& fragmentSource, const char* what);
};
