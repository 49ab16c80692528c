#pragma once
// The text form of a particle emitter's settings, "[ParticleSystem 1.00]":
//
//   [ParticleSystem 1.00]
//   Position=(0.0000, -2.0000, 0.0000)
//   StartColor1=(1.0000, 0.8000, 0.3000, 1.0000)
//   EmitRate=(150.0000, 200.0000)
//   SrcBlend=D3DBLEND_SRCALPHA
//   MaxParticles=500
//   Texture=../sprites/particle.png
//
// Reading keeps every "key=value" line by its key (the key exactly as
// written, spaces included; lines without "=" name nothing) and refuses a file without the header, with a
// key twice, or with 1000 lines or more; the caller then asks for the
// values it needs. Numbers are read and written in the C locale's notation
// whatever the process's locale is ("0.5000", never "0,5000").
//
// Every refusal is a CParticleFileException carrying the message the
// emitter reports.

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "objects/CMinMax.h"
#include "platform/d3dx/d3dx8math.h"

class CParticleSystemFile {
public:
    static constexpr const char* kHeader = "[ParticleSystem 1.00]";
    // Further lines from this many on make the file too big.
    static constexpr int kMaxLines = 1000;
    // The first line is read up to this many characters, its line feed
    // included; a longer one goes on as the next line.
    static constexpr size_t kHeaderLineLength = 255;
    // The same for every further line (room for the longest path).
    static constexpr size_t kLineLength = 4096;

    // Reads the header and every line of an open file (the caller closes it).
    void Read(std::FILE* file);
    // The value of `key`; a missing key throws "Missing property "key"!".
    const std::string& Value(const std::string& key) const;

    // The numbers after "(" of a value, split at "," and ")", each read the
    // way atof reads (leading blanks, then as much of a number as there is,
    // else 0). Missing numbers are 0.
    static D3DXVECTOR3 ParseVector(std::string_view value);
    static D3DXCOLOR ParseColor(std::string_view value);  // r, g, b, a
    static CMinMax<float> ParseRange(std::string_view value);
    // Read the way atoi reads; beyond the range of int it saturates.
    static int ParseInt(std::string_view value);
    static float ParseFloat(std::string_view text);

    // One line of the file, line feed included: "key=(x, y, z)" with four
    // decimals per number, "key=(r, g, b, a)", "key=(min, max)", "key=text".
    static std::string VectorLine(const char* key, const D3DXVECTOR3& value);
    static std::string ColorLine(const char* key, const D3DXCOLOR& value);
    static std::string RangeLine(const char* key, const CMinMax<float>& value);
    static std::string IntLine(const char* key, int value);
    static std::string TextLine(const char* key, std::string_view value);
    // "%.4f" in the C locale.
    static std::string FormatFloat(float value);

private:
    // Keeps a "key=value" line; a key seen before throws.
    void AddLine(std::string_view line);

    std::map<std::string, std::string> m_Values;
};
