#include "objects/CBmpFonts.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/files/CInstallLayout.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

namespace {

constexpr const char* kDefaultFontFile = "/media/fonts/arial.bnf";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A cursor over one descriptor line that reads it the way the pattern
// " %c %f , %f %f , %f" does: blanks before every field and around the
// commas are optional. Numbers are read in the "C" locale whatever the
// host set (a decimal comma would break every font).
class CLineReader {
public:
    CLineReader(const char* line, size_t length) : m_pos(line), m_end(line + length) {}

    void SkipBlanks() {
        while (m_pos < m_end && IsBlank(*m_pos))
            ++m_pos;
    }
    bool Character(unsigned char& c) {
        SkipBlanks();
        if (m_pos == m_end)
            return false;
        c = static_cast<unsigned char>(*m_pos++);
        return true;
    }
    bool Number(float& value) {
        SkipBlanks();
        const char* start = m_pos;
        if (start < m_end && *start == '+')
            ++start;  // from_chars takes no plus sign
        const auto [next, error] = std::from_chars(start, m_end, value);
        if (error != std::errc() || !std::isfinite(value))
            return false;
        m_pos = next;
        return true;
    }
    bool Comma() {
        SkipBlanks();
        if (m_pos == m_end || *m_pos != ',')
            return false;
        ++m_pos;
        return true;
    }

private:
    const char* m_pos;
    const char* m_end;
};

// The name with its last three characters (the extension) replaced.
CString WithExtension(const CString& name, const char* extension) {
    return name.Left(name.GetLength() - 3) + extension;
}

bool FileExists(const CString& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path.c_str()), error);
}

CString FolderOf(const CString& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == CString::npos ? CString() : CString(path.substr(0, slash));
}

}  // namespace

CBmpFonts::CBmpFonts() {
    m_Text.Insert("Sample Text...", 0.0f, -1);
    ResetGlyphs();
    m_ZoomX.Insert(1.0f, 0.0f, -1);
    m_ZoomY.Insert(1.5f, 0.0f, -1);
    m_Type = "CBmpFonts";
    m_Description = "2D Fonts";
}

bool CBmpFonts::Init() {
    CPlaneObject::Init();
    if (GetTexture(0).empty()) {
        SetTexture(FindDefaultFont(DefaultFontFolders()), 0);
    }
    m_Type = "CBmpFonts";
    m_Description = "2D Fonts";
    return true;
}

// ------------------------------------------------------------------ fonts

void CBmpFonts::SetTexture(CString name, int slot) {
    if (slot >= 1) {
        return;
    }
    const CString descriptor = WithExtension(name, "bnf");
    const CString texture = WithExtension(name, "png");
    CSceneFile* sceneFile = m_pScene != nullptr ? m_pScene->GetSceneFile() : nullptr;
    BYTE* data = nullptr;
    const int size = sceneFile != nullptr ? sceneFile->GetFile(descriptor, data) : 0;
    if (size > 0 && data != nullptr) {
        ReadDescriptor(data, static_cast<size_t>(size));
    } else if (!ReadDescriptorFile(descriptor)) {
        return;
    }
    CPlaneObject::SetTexture(texture, slot);
}

void CBmpFonts::ResetGlyphs() {
    m_Glyphs.fill(kDefaultGlyph);
}

bool CBmpFonts::ParseDescriptorLine(const char* line, size_t length, unsigned char& character, SGlyph& glyph) {
    CLineReader reader(line, std::min(length, kMaxLineLength));
    SGlyph cell{};
    if (!reader.Character(character) || !reader.Number(cell.left) || !reader.Comma() || !reader.Number(cell.top) ||
        !reader.Number(cell.right) || !reader.Comma() || !reader.Number(cell.bottom)) {
        return false;
    }
    glyph = cell;
    return true;
}

void CBmpFonts::ApplyDescriptorLine(const char* line, size_t length) {
    unsigned char character = 0;
    SGlyph glyph{};
    if (ParseDescriptorLine(line, length, character, glyph)) {
        m_Glyphs[character] = glyph;
    }
}

// Lines of a scene file's copy end with a line feed; what follows the last
// one is not a line.
void CBmpFonts::ReadDescriptor(const BYTE* data, size_t size) {
    ResetGlyphs();
    const char* text = reinterpret_cast<const char*>(data);
    size_t lineStart = 0;
    for (size_t i = 0; i < size; ++i) {
        if (text[i] == '\n') {
            ApplyDescriptorLine(text + lineStart, i - lineStart);
            lineStart = i + 1;
        }
    }
}

// From disk the last line counts without a line feed too. Lines are read in
// pieces of a bounded buffer; only the first kMaxLineLength characters of a
// line are looked at.
bool CBmpFonts::ReadDescriptorFile(const CString& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
    if (!file) {
        return false;
    }
    ResetGlyphs();
    char line[kMaxLineLength + 1];
    size_t length = 0;
    int c = 0;
    while ((c = std::fgetc(file.get())) != EOF) {
        if (c == '\n') {
            ApplyDescriptorLine(line, length);
            length = 0;
        } else if (length < kMaxLineLength) {
            line[length++] = static_cast<char>(c);
        }
    }
    if (length > 0) {
        ApplyDescriptorLine(line, length);
    }
    return true;
}

CString CBmpFonts::GetProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? CString() : FolderOf(program.string());
}

std::vector<CString> CBmpFonts::DefaultFontFolders() {
    std::vector<CString> folders;
    folders.push_back(GetProgramFolder());
    Dl_info library{};
    if (dladdr(reinterpret_cast<const void*>(&CBmpFonts::GetProgramFolder), &library) != 0 &&
        library.dli_fname != nullptr) {
        std::error_code error;
        const std::filesystem::path path = std::filesystem::canonical(library.dli_fname, error);
        if (!error) {
            folders.push_back(FolderOf(path.string()));
        }
    }
    // Installed, the media lie in the data folder of the prefix the program
    // or the library is installed in.
    for (const CString& folder : std::vector<CString>(folders)) {
        for (const std::filesystem::path& data :
             CInstallLayout(folder.c_str(), CInstallLayout::Installed()).DataFolders()) {
            if (std::find(folders.begin(), folders.end(), data.string()) == folders.end()) {
                folders.push_back(data.string());
            }
        }
    }
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error) {
        folders.push_back(current.string());
    }
    return folders;
}

CString CBmpFonts::FindDefaultFont(const std::vector<CString>& folders) {
    for (const CString& folder : folders) {
        const CString candidate = folder + kDefaultFontFile;
        if (FileExists(candidate)) {
            return candidate;
        }
    }
    return (folders.empty() ? CString() : folders.front()) + kDefaultFontFile;
}

// ------------------------------------------------------------------ text

void CBmpFonts::SetText(const CString& text) {
    const int key = GetCurrentKeyFrame();
    m_Text.Update(text, m_Text.GetPointTime(key), key);
}

CString CBmpFonts::GetText() const {
    return m_Text.GetPointValue(GetCurrentKeyFrame());
}

void CBmpFonts::SetZoomFactor(float x, float y) {
    const int key = GetCurrentKeyFrame();
    m_ZoomX.Update(x, m_ZoomX.GetPointTime(key), key);
    m_ZoomY.Update(y, m_ZoomY.GetPointTime(key), key);
}

void CBmpFonts::GetZoomFactor(float& x, float& y) const {
    const int key = GetCurrentKeyFrame();
    x = m_ZoomX.GetPointValue(key);
    y = m_ZoomY.GetPointValue(key);
}

void CBmpFonts::SetRenderStates() {
    if (m_pd3dDevice == nullptr) {
        return;
    }
    m_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHAREF, 8);
    m_pd3dDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    m_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

void CBmpFonts::Render() {
    PreRender();
    SetRenderStates();
    const D3DXVECTOR3 pivot = GetPivot();
    const CString text = m_Text.GetValue();
    float lineWidth = 0.0f;  // W
    for (const char c : text) {
        const SGlyph& glyph = m_Glyphs[static_cast<unsigned char>(c)];
        lineWidth += (glyph.right - glyph.left) * 0.25f;
    }
    float pen = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        const SGlyph& glyph = m_Glyphs[static_cast<unsigned char>(text[i])];
        const float halfWidth = (glyph.right - glyph.left) * 0.5f;
        const float halfHeight = (glyph.bottom - glyph.top) * 0.5f;
        float nextHalfWidth = 0.0f;
        if (i + 1 < text.size()) {
            const SGlyph& next = m_Glyphs[static_cast<unsigned char>(text[i + 1])];
            nextHalfWidth = (next.right - next.left) * 0.5f;
        }
        const float zoomX = m_ZoomX.GetValue();
        const float zoomY = m_ZoomY.GetValue();
        SetPivot(pen - lineWidth, pivot.y, pivot.z);
        pen += (nextHalfWidth + halfWidth) * zoomX * 0.25f;
        SetCurrentSize(halfWidth * zoomX * 0.5f, zoomY * halfHeight * 0.5f);
        DrawGlyph(glyph);
    }
    SetPivot(pivot);
}

// Points the quad's first texture pair at the glyph's cell and draws it.
void CBmpFonts::DrawGlyph(const SGlyph& glyph) {
    DWORD count = 0;
    S3DVERTEX* vertices = LockVB(count);
    if (vertices != nullptr) {
        if (count >= 4) {
            const float u[4] = {glyph.left, glyph.right, glyph.left, glyph.right};
            const float v[4] = {glyph.top, glyph.top, glyph.bottom, glyph.bottom};
            for (int n = 0; n < 4; ++n) {
                S3DVERTEX* vertex = OffsetVertex(vertices, n);
                vertex->tu1 = u[n];
                vertex->tv1 = v[n];
            }
        }
        UnlockVB(false, true);
    }
    CBaseObject::Render();
}

// ------------------------------------------------------------------ keyframes

CKeyFrameCurves CBmpFonts::KeyedCurves() {
    CKeyFrameCurves curves = CPlaneObject::KeyedCurves();
    curves.Add(m_Text).Add(m_ZoomX).Add(m_ZoomY);
    return curves;
}

// ------------------------------------------------------------------ persistence

void CBmpFonts::Save(CSceneFile& file) {
    m_Text.Save(file);
    const int slots = GetNumberMaterials();
    file.WriteUInt(static_cast<unsigned int>(slots));
    m_ZoomX.Save(file);
    m_ZoomY.Save(file);
    for (int slot = 0; slot < slots; ++slot) {
        // A slot without a font stores no file name rather than a bare "bnf"
        // that no reader could find.
        const CString texture = GetTexture(slot);
        file.WriteFile(texture.empty() ? CString() : WithExtension(texture, "bnf"));
    }
    CPlaneObject::Save(file);
}

// The descriptors are only read here so that the scene file holds their
// bytes: Init reads them again through SetTexture with the texture names of
// the base part. A descriptor missing from a plain scene's folders is
// skipped (the default font then applies); damaged packed data is not
// recoverable.
bool CBmpFonts::Load(CSceneFile& file) {
    m_Text.Load(file);
    const unsigned int slots = file.ReadCount(sizeof(std::uint32_t));
    m_ZoomX.Load(file);
    m_ZoomY.Load(file);
    for (unsigned int slot = 0; slot < slots; ++slot) {
        try {
            file.ReadFile();
        } catch (const CSceneFileException&) {
            if (file.IsPacked()) {
                throw;
            }
        }
    }
    return CPlaneObject::Load(file);
}
