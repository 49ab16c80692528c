#pragma once
// Finds the installed font file for a face name, weight and slant through
// fontconfig, the way a Windows program names fonts ("Arial", bold). Names
// that are not installed resolve to what fontconfig substitutes: Arial to the
// metric-compatible Liberation Sans, unknown names to the default sans face.

#include <string>

struct SFontFace {
    std::string file;     // the font file that was picked
    int index = 0;        // face index inside that file (collections)
    std::string family;   // the family fontconfig picked, e.g. "Liberation Sans"
    std::string style;    // e.g. "Bold Italic"
    bool bold = false;    // the face is bold by design (weight semibold or more)
    bool italic = false;  // the face slants by design (italic or oblique)
};

class CFontResolver {
public:
    // weight is a Windows font weight (400 regular, 700 bold; 0 counts as 400).
    // False only when fontconfig has no usable font at all.
    static bool Resolve(const std::string& faceName, int weight, bool italic, SFontFace& face);
};
