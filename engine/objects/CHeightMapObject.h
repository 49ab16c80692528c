#pragma once
// A terrain: a plane of 100 x 100 vertices whose heights come from a raw
// 8-bit height file of 10,000 samples, row by row (row 0 is the plane's top
// row, sample 0 of a row its left end). A sample b gives the height
// -A * b / 256 below the plane, A being the maximum amplitude. The terrain
// is drawn in perspective, back faces culled, laid flat by a quarter turn of
// pitch.

#include <vector>

#include "objects/CPlaneObject.h"
#include "platform/base/CString.h"

class CHeightMapObject : public CPlaneObject {
public:
    static constexpr int kSamples = 10000;  // 100 rows of 100 samples
    static constexpr int kSamplesPerRow = 100;

    CHeightMapObject();

    // A 100 x 100 grid, 100 units wide, with the heights of the file.
    bool Init() override;
    // Maximum amplitude, the height file (its bytes travel with packed
    // scenes), then the plane part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;

    // Stores the name and rebuilds the heights.
    void SetHeightMapFilename(const CString& name);
    const CString& GetHeightMapFilename() const { return m_HeightMapFilename; }
    // Stores the amplitude and rebuilds the heights.
    void SetMaxAmplitude(float amplitude);
    float GetMaxAmplitude() const { return m_fMaxAmplitude; }

protected:
    // The terrain is 100 x 100 units.
    void PostInit() override;
    // Writes the heights of the file into the grid and recomputes normals
    // and bounds. Samples past the end of a short file are 0. A file that
    // cannot be read leaves the heights as they were.
    void CreateHM();

private:
    bool ReadSamples(std::vector<BYTE>& samples) const;

    CString m_HeightMapFilename;
    float m_fMaxAmplitude = 10.0f;
    // The samples last read, so that a grid built again (after a device
    // reset, when a packed scene's file is no longer at hand) keeps its
    // heights.
    std::vector<BYTE> m_Samples;
};
