#pragma once
// A line of text drawn with a bitmap font: a texture holding the glyphs and
// a ".bnf" descriptor saying where each character lies in it. The object is
// a plane whose single quad is resized, re-textured and moved once per
// character and drawn each time. The text and the two zoom factors are
// keyed over time.
//
// Descriptor: a text file, one line per character, each line the character
// itself (one byte) and its cell in the texture as left u, top v and right
// u, bottom v, written "%c %f,%f %f,%f\n" (blanks around the commas are
// accepted, leading blanks are skipped). Lines apply in order, a later line
// for the same character wins; characters not listed keep the default cell.
// The texture is the descriptor's name with the extension "png".
//
// Glyphs are placed centre to centre at half their two widths apart (a
// texture-width unit is a quarter of an object unit), and the whole line is
// shifted by -W along the object's x axis, W being the line's width at zoom
// 1, before the object's rotation, scale and position apply.

#include <array>
#include <cstddef>
#include <vector>

#include "animation/CInterpolation.h"
#include "animation/CStringInterpolation.h"
#include "objects/CPlaneObject.h"
#include "platform/base/CString.h"

class CBmpFonts : public CPlaneObject {
public:
    // A glyph's cell in the texture, in texture coordinates.
    struct SGlyph {
        float left;
        float top;
        float right;
        float bottom;
    };
    // The cell of every character a descriptor does not list: a small cell
    // near the texture's bottom-right corner.
    static constexpr SGlyph kDefaultGlyph{0.9375f, 0.9922f, 0.9922f, 0.9961f};
    // Characters of a descriptor line that are looked at; the rest of a
    // longer line is ignored.
    static constexpr size_t kMaxLineLength = 255;

    CBmpFonts();

    // The plane, then the default font when no font is set.
    bool Init() override;
    void Render() override;
    // Text curve, number of texture slots, horizontal and vertical zoom
    // curves, each slot's descriptor (its bytes travel with packed scenes),
    // then the plane part.
    void Save(CSceneFile& file) override;
    bool Load(CSceneFile& file) override;
    // Slot 0 only: `name` is the font's texture or descriptor; the
    // descriptor is the name with its last three characters replaced by
    // "bnf", the texture the same with "png". It is read (from the scene
    // file being loaded when that carries it, else from disk) before the
    // texture is loaded; when it cannot be read nothing changes.
    void SetTexture(CString name, int slot) override;
    using CBaseObject::SetTexture;

    // The text and zoom factors of the current keyframe.
    void SetText(const CString& text);
    CString GetText() const;
    void SetZoomFactor(float x, float y);
    void GetZoomFactor(float& x, float& y) const;

    const SGlyph& GetGlyph(unsigned char character) const { return m_Glyphs[character]; }

    // Descriptor readers. From a scene file every line ends with a line
    // feed: bytes after the last one are not read. From disk the last line
    // counts without one. Both first reset every cell to the default.
    void ReadDescriptor(const BYTE* data, size_t size);
    bool ReadDescriptorFile(const CString& path);
    // One descriptor line: the character and its cell; false unless all
    // five fields are there and the four coordinates are finite numbers.
    static bool ParseDescriptorLine(const char* line, size_t length, unsigned char& character, SGlyph& glyph);

    // The default font: "media/fonts/arial.bnf" in the first of `folders`
    // that has one, else in the first folder.
    static CString FindDefaultFont(const std::vector<CString>& folders);
    // Where the default font is looked for: the running program's folder,
    // the folder of the engine library, the installed data folders of
    // their prefixes (CInstallLayout), the current directory.
    static std::vector<CString> DefaultFontFolders();
    static CString GetProgramFolder();

protected:
    // The base's curves, then the text and zoom factors.
    CKeyFrameCurves KeyedCurves() override;

private:
    void ResetGlyphs();
    void ApplyDescriptorLine(const char* line, size_t length);
    void SetRenderStates();
    void DrawGlyph(const SGlyph& glyph);

    CStringInterpolation m_Text;
    std::array<SGlyph, 256> m_Glyphs;
    CInterpolation m_ZoomX;
    CInterpolation m_ZoomY;
};
