#include "ShaderReference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace shaderreference {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

Vec4 Splat(float value) {
    return {value, value, value, value};
}

template <typename F>
Vec4 Each(const Vec4& a, const Vec4& b, const Vec4& c, F f) {
    return {f(a[0], b[0], c[0]), f(a[1], b[1], c[1]), f(a[2], b[2], c[2]), f(a[3], b[3], c[3])};
}

float Dot(const Vec4& a, const Vec4& b, unsigned count) {
    float sum = 0.0f;
    for (unsigned i = 0; i < count; ++i)
        sum += a[i] * b[i];
    return sum;
}

// logp: exponent and mantissa fields of |w|.
Vec4 LogPartial(float v) {
    if (v == 0.0f)
        return {-kInfinity, 1.0f, -kInfinity, 1.0f};
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof(bits));
    const std::uint32_t mantissaBits = (bits & 0x007FFFFFu) | 0x3F800000u;
    float mantissa;
    std::memcpy(&mantissa, &mantissaBits, sizeof(mantissa));
    return {static_cast<float>(static_cast<int>(bits >> 23) - 127), mantissa, std::log2(v), 1.0f};
}

}  // namespace

Vec4 Swizzled(const Vec4& value, DWORD swizzle) {
    return {value[swizzle & 3], value[(swizzle >> 2) & 3], value[(swizzle >> 4) & 3], value[(swizzle >> 6) & 3]};
}

Vec4 Operation(DWORD opcode, const Vec4& a, const Vec4& b, const Vec4& c) {
    const float w = a[3], v = std::fabs(a[3]);
    switch (opcode) {
    case D3DSIO_ADD:
        return Each(a, b, c, [](float x, float y, float) { return x + y; });
    case D3DSIO_SUB:
        return Each(a, b, c, [](float x, float y, float) { return x - y; });
    case D3DSIO_MUL:
        return Each(a, b, c, [](float x, float y, float) { return x * y; });
    case D3DSIO_MAD:
        return Each(a, b, c, [](float x, float y, float z) { return x * y + z; });
    case D3DSIO_LRP:
        return Each(a, b, c, [](float x, float y, float z) { return x * y + (1 - x) * z; });
    case D3DSIO_MIN:
        return Each(a, b, c, [](float x, float y, float) { return x < y ? x : y; });
    case D3DSIO_MAX:
        return Each(a, b, c, [](float x, float y, float) { return x >= y ? x : y; });
    case D3DSIO_SLT:
        return Each(a, b, c, [](float x, float y, float) { return x < y ? 1.0f : 0.0f; });
    case D3DSIO_SGE:
        return Each(a, b, c, [](float x, float y, float) { return x >= y ? 1.0f : 0.0f; });
    case D3DSIO_FRC:
        return Each(a, b, c, [](float x, float, float) { return x - std::floor(x); });
    case D3DSIO_DP3:
        return Splat(Dot(a, b, 3));
    case D3DSIO_DP4:
        return Splat(Dot(a, b, 4));
    case D3DSIO_RCP:  // 1 stays exact, 0 gives +infinity
        return Splat(w == 1.0f ? 1.0f : (w == 0.0f ? kInfinity : 1.0f / w));
    case D3DSIO_RSQ:
        return Splat(v == 1.0f ? 1.0f : (v == 0.0f ? kInfinity : 1.0f / std::sqrt(v)));
    case D3DSIO_EXP:
        return Splat(std::exp2(w));
    case D3DSIO_EXPP:
        return {std::exp2(std::floor(w)), w - std::floor(w), std::exp2(w), 1.0f};
    case D3DSIO_LOG:
        return Splat(v == 0.0f ? -kInfinity : std::log2(v));
    case D3DSIO_LOGP:
        return LogPartial(v);
    case D3DSIO_LIT: {
        const float power = std::clamp(w, -127.9961f, 127.9961f);
        return {1.0f, a[0] > 0.0f ? a[0] : 0.0f, a[0] > 0.0f && a[1] > 0.0f ? std::pow(a[1], power) : 0.0f, 1.0f};
    }
    case D3DSIO_DST:
        return {1.0f, a[1] * b[1], a[2], b[3]};
    case D3DSIO_CND:
        return a[3] > 0.5f ? b : c;
    default:  // mov
        return a;
    }
}

Vec4 Matrix(DWORD opcode, const Vec4& vector, const Vec4* rows) {
    const unsigned columns = opcode == D3DSIO_M4x4 || opcode == D3DSIO_M4x3 ? 4 : 3;
    const unsigned count = opcode == D3DSIO_M4x4 || opcode == D3DSIO_M3x4 ? 4 : (opcode == D3DSIO_M3x2 ? 2 : 3);
    Vec4 result{};
    for (unsigned row = 0; row < count; ++row)
        result[row] = Dot(vector, rows[row], columns);
    return result;
}

Vec4 PixelSource(const Vec4& value, DWORD modifier) {
    Vec4 result = value;
    for (float& x : result) {
        if (modifier == D3DSPSM_BIAS || modifier == D3DSPSM_BIASNEG)
            x -= 0.5f;
        if (modifier == D3DSPSM_SIGN || modifier == D3DSPSM_SIGNNEG)
            x = 2.0f * x - 1.0f;
        if (modifier == D3DSPSM_COMP)
            x = 1.0f - x;
        if (modifier == D3DSPSM_NEG || modifier == D3DSPSM_BIASNEG || modifier == D3DSPSM_SIGNNEG)
            x = -x;
    }
    return result;
}

Vec4 PixelResult(const Vec4& value, int shift, bool saturate) {
    const float scale = shift == -1 ? 0.5f : static_cast<float>(1 << shift);
    return Each(value, value, value,
                [&](float x, float, float) { return std::clamp(x * scale, saturate ? 0.0f : -1.0f, 1.0f); });
}

}  // namespace shaderreference
