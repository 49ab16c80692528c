#pragma once
// The text file of a movement path (CMove::Save and Load), one value a line:
// the point count, the mode and the loop flag as decimal integers ("%ld"),
// then per point eleven numbers with six decimals ("%f"): position x, y, z,
// direction x, y, z, up x, y, z, speed, zoom.
//
// The numbers are written and read without the C library's locale: "%f"
// writes "0,500000" and reads "0.500000" as 0 under a German LC_NUMERIC, so
// a path saved on one machine would come back wrong on another. The text is
// byte for byte what "%ld" and "%f" write in the C locale.

#include <string>
#include <string_view>
#include <vector>

#include "animation/CMovePoint.h"
#include "platform/base/CString.h"

class CMovePathFile {
public:
    struct SPath {
        tMoveMode mode = MM_LINEAR;
        bool loop = true;
        std::vector<CMovePoint> points;  // position, direction, up, speed and zoom of each
    };

    static constexpr int kValuesPerPoint = 11;

    static std::string Format(const SPath& path);
    // Reads the text of a path file named `name` (for the messages). False,
    // with a message in `error`, when it ends early, holds something other
    // than a number where a number belongs, names an unknown mode or more
    // than maxPoints points; `path` is written only on success.
    static bool Parse(std::string_view text, const CString& name, int maxPoints, SPath& path, std::string& error);

    // False, with a message in `error`, when the file cannot be written.
    static bool Write(const CString& filename, const SPath& path, std::string& error);
    // False, with a message in `error`, when the file cannot be read or
    // Parse refuses it; `path` is written only on success.
    static bool Read(const CString& filename, int maxPoints, SPath& path, std::string& error);
};
