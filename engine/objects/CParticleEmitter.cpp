#include "objects/CParticleEmitter.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>

#include "core/CScreen.h"
#include "objects/CParticleFileException.h"
#include "objects/CParticleSystemFile.h"
#include "platform/d3dxtex/d3dx8tex.h"
#include "platform/files/CAtomicFile.h"

namespace {

// The point-sprite vertex of kVertexFormat.
struct SPointVertex {
    float x, y, z;
    float size;
    DWORD color;
};
static_assert(sizeof(SPointVertex) == CParticleEmitter::kVertexSize, "a particle vertex is 20 bytes");
static_assert(CParticleEmitter::kVertexFormat == 0x62, "the particle vertex format");

// What every new particle starts from.
const SParticle kTemplate{};

constexpr float kPointSize = 1.08f;
constexpr float kPointSizeMin = 0.0f;
constexpr float kPointSizeMax = 200.0f;
const char* const kCantOpen = "Can't open file! (invalid filename?)";
const char* const kUnknownError = "Unknown error.";

DWORD FloatBits(float value) {
    return std::bit_cast<DWORD>(value);
}

struct SFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFilePointer = std::unique_ptr<std::FILE, SFileCloser>;

// ASCII only: a Turkish locale must not change how "d3dblend_one" compares.
bool EqualIgnoringCase(const char* a, const std::string& b) {
    size_t i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return a[i] == '\0' && i == b.size();
}

// The C library's rand() on a scale of 0 .. 32767, whatever its RAND_MAX.
float Rand15() {
    const long long value = std::rand();
    return static_cast<float>(value * 32768 / (static_cast<long long>(RAND_MAX) + 1));
}

// How many whole particles `count` asks for, kept within what one update can
// ever emit (NaN and negative counts emit none).
int WholeParticles(float count) {
    if (!(count >= 1.0f)) {
        return 0;
    }
    return count > static_cast<float>(CParticleEmitter::kPoolSize) ? CParticleEmitter::kPoolSize + 1
                                                                   : static_cast<int>(count);
}

}  // namespace

const BLENDINGMODE CParticleEmitter::m_BlendingModes[NUMBLENDINGMODES] = {
    {"D3DBLEND_ZERO", D3DBLEND_ZERO},
    {"D3DBLEND_ONE", D3DBLEND_ONE},
    {"D3DBLEND_SRCCOLOR", D3DBLEND_SRCCOLOR},
    {"D3DBLEND_INVSRCCOLOR", D3DBLEND_INVSRCCOLOR},
    {"D3DBLEND_SRCALPHA", D3DBLEND_SRCALPHA},
    {"D3DBLEND_INVSRCALPHA", D3DBLEND_INVSRCALPHA},
    {"D3DBLEND_DESTALPHA", D3DBLEND_DESTALPHA},
    {"D3DBLEND_INVDESTALPHA", D3DBLEND_INVDESTALPHA},
    {"D3DBLEND_DESTCOLOR", D3DBLEND_DESTCOLOR},
    {"D3DBLEND_INVDESTCOLOR", D3DBLEND_INVDESTCOLOR},
    {"D3DBLEND_SRCALPHASAT", D3DBLEND_SRCALPHASAT},
};

CParticleEmitter::CParticleEmitter() {
    m_Type = "CParticleEmitter";
    m_Description = "Particle emitter";
    D3DXMatrixIdentity(&m_matWorld);
}

CParticleEmitter::~CParticleEmitter() = default;

CScreen& CParticleEmitter::Screen() const {
    return m_pScreen != nullptr ? *m_pScreen : CScreen::Instance();
}

float CParticleEmitter::RandomNumber(float a, float b) {
    if (a == b) {
        return a;
    }
    return a + Rand15() * 0.000030518509f * std::fabs(b - a);
}

// ------------------------------------------------------------------ life cycle

bool CParticleEmitter::Init() {
    PreInit();
    CObjects::Init();
    m_Type = "CParticleEmitter";
    m_Description = "Particle emitter";
    D3DXMatrixIdentity(&m_matWorld);
    m_pd3dDevice = m_pScreen->GetD3DDevice();
    RestoreDeviceObjects(m_pd3dDevice);
    return true;
}

void CParticleEmitter::CleanUp() {
    InvalidateDeviceObjects();
    CObjects::CleanUp();
}

HRESULT CParticleEmitter::RestoreDeviceObjects(IDirect3DDevice8* device) {
    m_pd3dDevice = device;
    m_Particles.DeleteAll();
    m_texParticle.Reset();
    m_vbParticles.Reset();
    if (m_pd3dDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // Without its texture the emitter still draws (untextured points), and a
    // later SetTexture finds the buffer there.
    const HRESULT texture =
        D3DXCreateTextureFromFileA(m_pd3dDevice, m_strTexFilename.c_str(), m_texParticle.ReleaseAndGetAddressOf());
    const HRESULT buffer =
        m_pd3dDevice->CreateVertexBuffer(static_cast<UINT>(m_iVBSize > 0 ? m_iVBSize : 0) * kVertexSize,
                                         D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY | D3DUSAGE_POINTS, kVertexFormat,
                                         D3DPOOL_DEFAULT, m_vbParticles.ReleaseAndGetAddressOf());
    if (FAILED(texture)) {
        return texture;
    }
    return FAILED(buffer) ? buffer : D3D_OK;
}

void CParticleEmitter::InvalidateDeviceObjects() {
    m_texParticle.Reset();
    m_vbParticles.Reset();
}

void CParticleEmitter::SetTexture(const char* file) {
    m_strTexFilename = file != nullptr ? file : "";
    if (m_pd3dDevice == nullptr) {
        return;
    }
    m_texParticle.Reset();
    if (FAILED(D3DXCreateTextureFromFileA(m_pd3dDevice, m_strTexFilename.c_str(),
                                          m_texParticle.ReleaseAndGetAddressOf()))) {
        m_texParticle.Reset();
    }
}

void CParticleEmitter::Reset() {
    m_Particles.DeleteAll();
    m_fLastUpdate = Screen().GetTickCount();
}

// ------------------------------------------------------------------ simulation

// Only the elapsed time matters; the time itself is for emitters that vary with it.
void CParticleEmitter::Update(float /*time*/, float elapsed) {
    AgeParticles(elapsed);
    const int count = EmissionCount(elapsed);
    for (int i = 0; i < count; ++i) {
        if (m_Particles.GetNumUsedElements() >= m_iMaxParticles) {
            break;
        }
        SParticle* particle = m_Particles.New();
        if (particle == nullptr) {
            break;  // the pool is full: the particles already emitted stay
        }
        Emit(*particle);
    }
}

void CParticleEmitter::AgeParticles(float elapsed) {
    for (int i = 0; i < kPoolSize; ++i) {
        if (!m_Particles.IsAlive(i)) {
            continue;
        }
        SParticle& particle = m_Particles.GetAt(i);
        particle.m_fAge += elapsed;
        if (particle.m_fAge >= particle.m_fLifetime) {
            m_Particles.Delete(i);
            continue;
        }
        particle.m_vPos += particle.m_vDir * elapsed;
        particle.m_Color += particle.m_ColorStep * elapsed;
        particle.m_vDir += m_vGravity * elapsed;
    }
}

// The fractions of particles add up over the updates; only once they exceed
// one whole particle (reaching it is not enough) does it join an update.
int CParticleEmitter::EmissionCount(float elapsed) {
    const float wanted = RandomNumber(m_EmitRate) * elapsed;
    const float whole = std::trunc(wanted);
    if (std::isfinite(wanted)) {
        m_fNumNewPartsExcess += wanted - whole;
    }
    int count = WholeParticles(whole);
    if (m_fNumNewPartsExcess > 1.0f) {
        const float carried = std::trunc(m_fNumNewPartsExcess);
        m_fNumNewPartsExcess -= carried;
        count = std::min(count + WholeParticles(carried), kPoolSize + 1);
    }
    return count;
}

void CParticleEmitter::Emit(SParticle& particle) const {
    particle = kTemplate;
    particle.m_fLifetime = RandomNumber(m_Lifetime);
    particle.m_fSize = RandomNumber(m_Size);
    particle.m_vDir.x = RandomNumber(m_vSpawnDir1.x, m_vSpawnDir2.x);
    particle.m_vDir.y = RandomNumber(m_vSpawnDir1.y, m_vSpawnDir2.y);
    particle.m_vDir.z = RandomNumber(m_vSpawnDir1.z, m_vSpawnDir2.z);
    particle.m_vPos.x = m_vPos.x + RandomNumber(-m_vEmitRadius.x, m_vEmitRadius.x);
    particle.m_vPos.y = m_vPos.y + RandomNumber(-m_vEmitRadius.y, m_vEmitRadius.y);
    particle.m_vPos.z = m_vPos.z + RandomNumber(-m_vEmitRadius.z, m_vEmitRadius.z);
    const D3DXCOLOR start(
        RandomNumber(m_StartColor1.r, m_StartColor2.r), RandomNumber(m_StartColor1.g, m_StartColor2.g),
        RandomNumber(m_StartColor1.b, m_StartColor2.b), RandomNumber(m_StartColor1.a, m_StartColor2.a));
    const D3DXCOLOR end(RandomNumber(m_EndColor1.r, m_EndColor2.r), RandomNumber(m_EndColor1.g, m_EndColor2.g),
                        RandomNumber(m_EndColor1.b, m_EndColor2.b), RandomNumber(m_EndColor1.a, m_EndColor2.a));
    particle.m_Color = start;
    // A particle without lifetime is never drawn: its colour need not change.
    if (particle.m_fLifetime != 0.0f) {
        particle.m_ColorStep = (end - start) / particle.m_fLifetime;
    }
}

// ------------------------------------------------------------------ drawing

void CParticleEmitter::Render() {
    PreRender();
    const float now = Screen().GetTickCount();
    const float elapsed = now - m_fLastUpdate;
    m_fLastUpdate = now;
    m_fLastFrameTime = elapsed;
    Update(now, elapsed);
    if (m_pd3dDevice == nullptr) {
        return;
    }
    SetRenderStates();
    DrawParticles();
    RestoreRenderStates();
}

void CParticleEmitter::SetRenderStates() {
    IDirect3DDevice8* device = m_pd3dDevice;
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
    device->SetRenderState(D3DRS_POINTSIZE, FloatBits(kPointSize));
    device->SetTransform(D3DTS_WORLD, &m_matWorld);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(kPointSizeMin));
    device->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(kPointSizeMax));
    // Size / distance: a particle's size is its width at distance 1.
    device->SetRenderState(D3DRS_POINTSCALE_A, FloatBits(0.0f));
    device->SetRenderState(D3DRS_POINTSCALE_B, FloatBits(0.0f));
    device->SetRenderState(D3DRS_POINTSCALE_C, FloatBits(1.0f));
    device->SetRenderState(D3DRS_SRCBLEND, static_cast<DWORD>(m_iSrcBlendMode));
    device->SetRenderState(D3DRS_DESTBLEND, static_cast<DWORD>(m_iDestBlendMode));
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
    device->SetStreamSource(0, m_vbParticles.Get(), kVertexSize);
    device->SetVertexShader(kVertexFormat);
    device->SetPixelShader(0);  // not an effect's, left bound by the object drawn before
    device->SetTexture(0, m_texParticle.Get());
}

// A particle whose age has reached its lifetime is gone, though its slot is
// freed only at the next update: one born with lifetime 0 is never drawn.
void CParticleEmitter::DrawParticles() {
    if (!m_vbParticles || m_iVBSize <= 0) {
        return;
    }
    const UINT bytes = static_cast<UINT>(m_iVBSize) * kVertexSize;
    BYTE* data = nullptr;
    if (FAILED(m_vbParticles->Lock(0, bytes, &data, D3DLOCK_DISCARD)) || data == nullptr) {
        return;
    }
    auto* vertex = reinterpret_cast<SPointVertex*>(data);
    int count = 0;
    for (int i = 0; i < kPoolSize; ++i) {
        if (!m_Particles.IsAlive(i)) {
            continue;
        }
        const SParticle& particle = m_Particles.GetAt(i);
        if (!(particle.m_fAge < particle.m_fLifetime)) {
            continue;
        }
        vertex[count] = SPointVertex{particle.m_vPos.x, particle.m_vPos.y, particle.m_vPos.z, particle.m_fSize,
                                     static_cast<D3DCOLOR>(particle.m_Color)};
        if (++count < m_iVBSize) {
            continue;
        }
        // The buffer is full: draw it and start a fresh one.
        m_vbParticles->Unlock();
        if (FAILED(m_pd3dDevice->DrawPrimitive(D3DPT_POINTLIST, 0, static_cast<UINT>(count)))) {
            return;
        }
        count = 0;
        if (FAILED(m_vbParticles->Lock(0, bytes, &data, D3DLOCK_DISCARD)) || data == nullptr) {
            return;
        }
        vertex = reinterpret_cast<SPointVertex*>(data);
    }
    m_vbParticles->Unlock();
    if (count > 0) {
        m_pd3dDevice->DrawPrimitive(D3DPT_POINTLIST, 0, static_cast<UINT>(count));
    }
}

void CParticleEmitter::RestoreRenderStates() {
    IDirect3DDevice8* device = m_pd3dDevice;
    device->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_POINTSCALEENABLE, FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

// ------------------------------------------------------------------ files

const char* CParticleEmitter::BlendModeName(int mode) {
    for (const BLENDINGMODE& entry : m_BlendingModes) {
        if (entry.iMode == mode) {
            return entry.szName;
        }
    }
    return nullptr;
}

int CParticleEmitter::BlendModeFromName(const std::string& name) {
    for (const BLENDINGMODE& entry : m_BlendingModes) {
        if (EqualIgnoringCase(entry.szName, name)) {
            return entry.iMode;
        }
    }
    throw CParticleFileException("Invalid Blending Mode.");
}

// A failure inside Save or Load becomes the last error's text and a false.
template <class TWork>
bool CParticleEmitter::CaptureFailure(TWork work) {
    try {
        work();
    } catch (const std::exception& failure) {
        m_strLastError = failure.what()[0] != '\0' ? failure.what() : kUnknownError;
        return false;
    } catch (...) {
        m_strLastError = kUnknownError;
        return false;
    }
    return true;
}

bool CParticleEmitter::Save(const char* path) {
    return CaptureFailure([&] {
        if (path == nullptr) {
            throw CParticleFileException(kCantOpen);
        }
        // The whole text first: a setting that cannot be written (a blend
        // mode outside the table) leaves the previous file as it was, and the
        // file is replaced only once all of it is on disk.
        const std::string text = SettingsText();
        CAtomicFile file(path);
        if (!file.Open()) {
            throw CParticleFileException(kCantOpen);
        }
        if (!file.Write(text.data(), text.size()) || !file.Finish() || !file.Publish()) {
            throw CParticleFileException(file.GetError());  // a full disk, say
        }
    });
}

std::string CParticleEmitter::SettingsText() const {
    std::string text = std::string(CParticleSystemFile::kHeader) + "\n";
    text += CParticleSystemFile::VectorLine("Position", m_vPos);
    text += CParticleSystemFile::VectorLine("Gravity", m_vGravity);
    text += CParticleSystemFile::VectorLine("SpawnDir1", m_vSpawnDir1);
    text += CParticleSystemFile::VectorLine("SpawnDir2", m_vSpawnDir2);
    text += CParticleSystemFile::ColorLine("StartColor1", m_StartColor1);
    text += CParticleSystemFile::ColorLine("StartColor2", m_StartColor2);
    text += CParticleSystemFile::ColorLine("EndColor1", m_EndColor1);
    text += CParticleSystemFile::ColorLine("EndColor2", m_EndColor2);
    text += CParticleSystemFile::RangeLine("EmitRate", m_EmitRate);
    text += CParticleSystemFile::VectorLine("EmitRadius", m_vEmitRadius);
    text += CParticleSystemFile::RangeLine("Lifetime", m_Lifetime);
    text += CParticleSystemFile::RangeLine("Size", m_Size);
    for (const auto& [key, mode] : {std::pair{"SrcBlend", m_iSrcBlendMode}, std::pair{"DestBlend", m_iDestBlendMode}}) {
        const char* name = BlendModeName(mode);
        if (name == nullptr) {
            throw CParticleFileException("Invalid Blending Mode.");
        }
        text += CParticleSystemFile::TextLine(key, name);
    }
    text += CParticleSystemFile::IntLine("MaxParticles", m_iMaxParticles);
    text += CParticleSystemFile::TextLine("Texture", m_strTexFilename);
    return text;
}

bool CParticleEmitter::Load(const char* path) {
    // A folder opens for reading on Linux, but it is no file name either.
    std::error_code error;
    const bool folder = path != nullptr && std::filesystem::is_directory(path, error);
    CFilePointer file(path != nullptr && !folder ? std::fopen(path, "r") : nullptr);
    if (!file) {
        throw CParticleFileException(kCantOpen);
    }
    return CaptureFailure([&] {
        CParticleSystemFile settings;
        settings.Read(file.get());
        ReadSettings(settings);
    });
}

// In the order of the file; each setting takes effect as it is read.
void CParticleEmitter::ReadSettings(const CParticleSystemFile& file) {
    m_vPos = CParticleSystemFile::ParseVector(file.Value("Position"));
    m_vGravity = CParticleSystemFile::ParseVector(file.Value("Gravity"));
    m_vSpawnDir1 = CParticleSystemFile::ParseVector(file.Value("SpawnDir1"));
    m_vSpawnDir2 = CParticleSystemFile::ParseVector(file.Value("SpawnDir2"));
    m_StartColor1 = CParticleSystemFile::ParseColor(file.Value("StartColor1"));
    m_StartColor2 = CParticleSystemFile::ParseColor(file.Value("StartColor2"));
    m_EndColor1 = CParticleSystemFile::ParseColor(file.Value("EndColor1"));
    m_EndColor2 = CParticleSystemFile::ParseColor(file.Value("EndColor2"));
    m_EmitRate = CParticleSystemFile::ParseRange(file.Value("EmitRate"));
    m_vEmitRadius = CParticleSystemFile::ParseVector(file.Value("EmitRadius"));
    m_Lifetime = CParticleSystemFile::ParseRange(file.Value("Lifetime"));
    m_Size = CParticleSystemFile::ParseRange(file.Value("Size"));
    m_iSrcBlendMode = BlendModeFromName(file.Value("SrcBlend"));
    m_iDestBlendMode = BlendModeFromName(file.Value("DestBlend"));
    m_iMaxParticles = CParticleSystemFile::ParseInt(file.Value("MaxParticles"));
    m_strTexFilename = file.Value("Texture");
}
