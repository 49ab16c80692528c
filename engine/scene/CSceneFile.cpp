#include "scene/CSceneFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <mutex>

#include "core/CEngineLog.h"
#include "core/CTools.h"
#include "platform/files/CAtomicFile.h"
#include "platform/files/CInstallLayout.h"
#include "scene/CBNFile.h"
#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"

static_assert(std::endian::native == std::endian::little, "scene files are little-endian and copied byte for byte");

namespace {

constexpr char kMagic[] = "BrennoxGraphicalScene";
constexpr char kVersion[] = "001.000.000";
constexpr size_t kMaxStoredSize = std::numeric_limits<std::uint32_t>::max();

// Scene files written on Windows hold backslash paths: split at either.
size_t LastSeparator(const CString& path) {
    return path.find_last_of("/\\");
}

CString DirectoryOf(const CString& path) {
    const size_t separator = LastSeparator(path);
    return separator == CString::npos ? CString() : CString(path.substr(0, separator + 1));
}

CString FileNameOf(const CString& path) {
    const size_t separator = LastSeparator(path);
    return separator == CString::npos ? path : CString(path.substr(separator + 1));
}

bool EndsWithMp3(const CString& name) {
    if (name.size() < 3) {
        return false;
    }
    CString extension = name.Right(3);
    return extension.MakeLower() == "mp3";
}

CString Quoted(const CString& text) {
    return "\"" + text + "\"";
}

bool WriteWholeFile(const std::string& path, const std::vector<BYTE>& data) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return (std::fclose(file) == 0) && written;
}

std::mutex& MusicPathMutex() {
    static std::mutex mutex;
    return mutex;
}

CString& MusicPath() {
    static CString path = "music.tmp";
    return path;
}

// Beside the running program in a build tree, in the installed player
// folder otherwise.
std::filesystem::path PlayerImagePath() {
    return CInstallLayout::OfRunningProgram().Player();
}

}  // namespace

CSceneFile::CSceneFile(CScene& scene, bool packed, const CString& referencePath)
    : m_bPacked(packed), m_ReferenceDirectory(DirectoryOf(referencePath)), m_pScene(&scene) {}

CSceneFile::~CSceneFile() = default;

// ---------------------------------------------------------------- writing

void CSceneFile::WriteBytes(const void* bytes, size_t count) {
    if (count == 0) {
        return;
    }
    if (m_Position + count > m_Buffer.size()) {
        m_Buffer.resize(m_Position + count);
    }
    std::memcpy(m_Buffer.data() + m_Position, bytes, count);
    m_Position += count;
}

void CSceneFile::WriteUInt(unsigned int value) {
    const std::uint32_t stored = value;
    WriteBytes(&stored, sizeof(stored));
}

void CSceneFile::WriteInt(int value) {
    const std::int32_t stored = value;
    WriteBytes(&stored, sizeof(stored));
}

void CSceneFile::WriteFloat(float value) {
    WriteBytes(&value, sizeof(value));
}

void CSceneFile::WriteBool(bool value) {
    const BYTE stored = value ? 1 : 0;
    WriteBytes(&stored, 1);
}

void CSceneFile::WriteString(const CString& text) {
    WriteUInt(static_cast<unsigned int>(text.size()));
    WriteBytes(text.data(), text.size());
}

void CSceneFile::WriteVector(const D3DXVECTOR3& v) {
    WriteFloat(v.x);
    WriteFloat(v.y);
    WriteFloat(v.z);
}

void CSceneFile::WriteColor(const D3DCOLORVALUE& c) {
    WriteFloat(c.r);
    WriteFloat(c.g);
    WriteFloat(c.b);
    WriteFloat(c.a);
}

void CSceneFile::WriteMaterial(const D3DMATERIAL8& m) {
    // Emissive is stored before specular (not the structure's order).
    WriteColor(m.Diffuse);
    WriteColor(m.Ambient);
    WriteColor(m.Emissive);
    WriteColor(m.Specular);
    WriteFloat(m.Power);
}

void CSceneFile::WriteFile(const CString& path) {
    WriteString(path);
    if (!m_bPacked || path.empty() || WasWritten(path)) {
        return;  // a packed file's data goes only with its first occurrence
    }
    m_WrittenNames.push_back(path);

    std::vector<BYTE> data;
    if (!ReadReferencedFile(path, data)) {
        CTools::Error("Error: Unable to export the file " + Quoted(path) + ". File not found.");
        data.clear();
    } else if (data.size() > kMaxStoredSize) {
        CTools::Error("Error: Unable to export the file " + Quoted(path) + ". The file is larger than 4 GB.");
        data.clear();
    }
    // A file that could not be stored still gets its size (0), so that the
    // package stays readable; readers see an empty embedded file.
    WriteUInt(static_cast<unsigned int>(data.size()));
    WriteBytes(data.data(), data.size());
}

// ---------------------------------------------------------------- reading

size_t CSceneFile::ReadEnd() const {
    return std::min(m_ReadLimit, m_DataEnd);
}

size_t CSceneFile::BytesLeft() const {
    return m_Position < m_DataEnd ? m_DataEnd - m_Position : 0;
}

bool CSceneFile::ReadBytes(void* bytes, size_t count) {
    if (m_Position > ReadEnd() || count > ReadEnd() - m_Position) {
        if (m_bInRecord) {
            return false;  // the object reads more than its record holds
        }
        // Outside a record the data must hold every value the scene needs:
        // a file cut short would otherwise read as a smaller scene.
        CString what;
        what.Format("a %zu-byte value", count);
        ThrowDamaged(what);
    }
    std::memcpy(bytes, m_Buffer.data() + m_Position, count);
    m_Position += count;
    return true;
}

void CSceneFile::ThrowDamaged(const CString& what) const {
    CString message;
    message.Format("Damaged scene file: %s at offset %zu runs past the end of the data at offset %zu.", what.c_str(),
                   m_Position, m_DataEnd);
    throw CSceneFileException(message);
}

unsigned int CSceneFile::ReadUInt() {
    std::uint32_t value = 0;
    return ReadBytes(&value, sizeof(value)) ? value : 0;
}

int CSceneFile::ReadInt() {
    std::int32_t value = 0;
    return ReadBytes(&value, sizeof(value)) ? value : 0;
}

float CSceneFile::ReadFloat() {
    float value = 0.0f;
    return ReadBytes(&value, sizeof(value)) ? value : 0.0f;
}

bool CSceneFile::ReadBool() {
    BYTE value = 0;
    return ReadBytes(&value, 1) && value != 0;
}

CString CSceneFile::ReadString() {
    std::uint32_t length = 0;
    if (!ReadBytes(&length, sizeof(length))) {
        return CString();
    }
    // The text itself is not held to the record's end, only to the data's.
    if (length > BytesLeft()) {
        m_Position -= sizeof(length);
        CString what;
        what.Format("a text of %u bytes", length);
        ThrowDamaged(what);
    }
    CString text(reinterpret_cast<const char*>(m_Buffer.data() + m_Position), length);
    m_Position += length;
    return text;
}

D3DXVECTOR3 CSceneFile::ReadVector() {
    const float x = ReadFloat();
    const float y = ReadFloat();
    const float z = ReadFloat();
    return D3DXVECTOR3(x, y, z);
}

D3DCOLORVALUE CSceneFile::ReadColor() {
    D3DCOLORVALUE c;
    c.r = ReadFloat();
    c.g = ReadFloat();
    c.b = ReadFloat();
    c.a = ReadFloat();
    return c;
}

D3DMATERIAL8 CSceneFile::ReadMaterial() {
    D3DMATERIAL8 m;
    m.Diffuse = ReadColor();
    m.Ambient = ReadColor();
    m.Emissive = ReadColor();
    m.Specular = ReadColor();
    m.Power = ReadFloat();
    return m;
}

unsigned int CSceneFile::ReadCount(unsigned int itemBytes) {
    const unsigned int count = ReadUInt();
    const size_t available = m_Position < ReadEnd() ? ReadEnd() - m_Position : 0;
    if (static_cast<unsigned long long>(count) * itemBytes > available) {
        m_Position -= sizeof(std::uint32_t);
        CString what;
        what.Format("a count of %u entries", count);
        ThrowDamaged(what);
    }
    return count;
}

CString CSceneFile::ReadFile() {
    const CString path = ReadString();
    if (path.empty() || FindEmbedded(path) != nullptr) {
        // Packed: the data came with the first occurrence. Plain: already read.
        return path;
    }

    SEmbeddedFile file{path, {}};
    if (m_bPacked) {
        const unsigned int size = ReadUInt();
        if (size > BytesLeft()) {
            m_Position -= sizeof(std::uint32_t);
            CString what;
            what.Format("the embedded file %s of %u bytes", Quoted(path).c_str(), size);
            ThrowDamaged(what);
        }
        const BYTE* start = m_Buffer.data() + m_Position;
        file.data.assign(start, start + size);
        m_Position += size;
        if (EndsWithMp3(path)) {
            WriteMusicFile(file.data);
        }
    } else if (!ReadReferencedFile(path, file.data)) {
        const CString message = "File Loading: Unable to find file " + Quoted(path) +
                                ": This file is not in this directory and not in the project "
                                "file directory.";
        CTools::Error(message);
        throw CSceneFileException(message);
    }
    m_EmbeddedFiles.push_back(std::move(file));
    return path;
}

int CSceneFile::GetFile(const CString& name, BYTE*& data) {
    const SEmbeddedFile* file = FindEmbedded(name);
    if (file == nullptr) {
        return 0;
    }
    data = const_cast<BYTE*>(file->data.data());
    return static_cast<int>(std::min<size_t>(file->data.size(), std::numeric_limits<int>::max()));
}

// ---------------------------------------------------------------- records

void CSceneFile::Write(CObjects& object) {
    WriteString(object.GetObjType());
    // The record length goes in front of the object's data; reserve its four
    // bytes and fill them in once the object has written itself.
    const size_t lengthAt = m_Position;
    WriteUInt(0);
    object.Save(*this);
    const std::uint32_t length =
        static_cast<std::uint32_t>(std::min(m_Position - lengthAt - sizeof(std::uint32_t), kMaxStoredSize));
    std::memcpy(m_Buffer.data() + lengthAt, &length, sizeof(length));
}

std::unique_ptr<CObjects> CSceneFile::Read() {
    m_ReadLimit = m_DataEnd;
    const CString type = ReadString();
    m_ReadLimit = m_Position + 100;
    const unsigned int length = ReadUInt();
    if (length > BytesLeft()) {
        m_Position -= sizeof(std::uint32_t);
        CString what;
        what.Format("the record of a %s object (%u bytes)", Quoted(type).c_str(), length);
        ThrowDamaged(what);
    }
    const size_t recordEnd = m_Position + length;

    std::unique_ptr<CObjects> object(CObjectFactory::Get(type));
    if (object == nullptr) {
        LeaveRecord(recordEnd);  // unknown type: skip its record
        return nullptr;
    }
    object->SetScene(*m_pScene);
    m_ReadLimit = recordEnd;
    m_bInRecord = true;
    bool loaded = false;
    try {
        loaded = object->Load(*this);
    } catch (...) {
        LeaveRecord(recordEnd);
        throw;
    }
    LeaveRecord(recordEnd);
    if (!loaded) {
        return nullptr;
    }
    return object;
}

// Goes on after the record whatever the object read, so that an object that
// reads less than it wrote cannot derail the records after it.
void CSceneFile::LeaveRecord(size_t recordEnd) {
    m_Position = recordEnd;
    m_ReadLimit = m_DataEnd;
    m_bInRecord = false;
}

bool CSceneFile::WriteHeader() {
    WriteString(kMagic);
    WriteString(kVersion);
    m_WrittenNames.clear();
    return true;
}

bool CSceneFile::ReadHeader() {
    try {
        const CString magic = ReadString();
        const CString version = ReadString();
        return magic == kMagic && version == kVersion;
    } catch (const CSceneFileException&) {
        return false;  // not a scene file
    }
}

// ---------------------------------------------------------------- trailer

bool CSceneFile::WriteTOC() {
    const size_t length = m_Buffer.size() + kTrailerSize;
    if (length > kMaxStoredSize) {
        return false;
    }
    m_Position = m_Buffer.size();
    BYTE trailer[kTrailerSize] = {};
    trailer[0] = 0x0D;
    trailer[1] = 0x0E;
    const std::int32_t a = m_DisplayFormat.m_iResolution;
    const std::int32_t b = m_DisplayFormat.m_iFlags;
    const std::uint32_t storedLength = static_cast<std::uint32_t>(length);
    std::memcpy(trailer + 2, &a, 4);
    std::memcpy(trailer + 6, &b, 4);
    std::memcpy(trailer + 10, &storedLength, 4);
    std::memcpy(trailer + 14, m_DisplayFormat.m_Name.data(),
                std::min<size_t>(m_DisplayFormat.m_Name.size(), kTrailerNameSize));
    WriteBytes(trailer, kTrailerSize);
    return true;
}

CSceneFile::ETrailer CSceneFile::ParseTrailer() {
    if (m_Size < kTrailerSize) {
        return ETrailer::None;
    }
    const BYTE* trailer = m_Buffer.data() + (m_Size - kTrailerSize);
    if (trailer[0] != 0x0D || trailer[1] != 0x0E) {
        return ETrailer::None;
    }
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::uint32_t length = 0;
    std::memcpy(&a, trailer + 2, 4);
    std::memcpy(&b, trailer + 6, 4);
    std::memcpy(&length, trailer + 10, 4);
    if (length < kTrailerSize || length > m_Size) {
        return ETrailer::Damaged;
    }
    const char* name = reinterpret_cast<const char*>(trailer + 14);
    m_DisplayFormat = CDisplayFormat(a, b, CString(name, strnlen(name, kTrailerNameSize)));
    m_Position = m_Size - length;
    m_DataEnd = m_Size - kTrailerSize;
    m_ReadLimit = m_DataEnd;
    return ETrailer::Valid;
}

bool CSceneFile::ReadTOC() {
    switch (ParseTrailer()) {
    case ETrailer::Valid:
        return true;
    case ETrailer::Damaged:
        CTools::Error("Damaged scene file: the scene data length in the trailer is larger than the file.");
        return false;
    case ETrailer::None:
        break;
    }
    return false;
}

void CSceneFile::ExpectEndOfData() const {
    if (m_Position >= m_DataEnd) {
        return;
    }
    const size_t left = m_DataEnd - m_Position;
    CString message;
    // Without a trailer the scene data runs to the end of the file, so a
    // trailer that lost some of its bytes is what is left over here.
    if (left < kTrailerSize && m_Buffer[m_Position] == 0x0D && (left < 2 || m_Buffer[m_Position + 1] == 0x0E)) {
        message.Format("Damaged scene file: the trailer at offset %zu has only %zu of its %u bytes.", m_Position, left,
                       kTrailerSize);
    } else {
        message.Format("Damaged scene file: %zu bytes at offset %zu follow the last object.", left, m_Position);
    }
    throw CSceneFileException(message);
}

// ---------------------------------------------------------------- files

bool CSceneFile::Save(const CString& path) {
    auto fail = [&path](const CString& reason) {
        CTools::Error("Unable to save the file " + Quoted(path) + ": " + reason);
        return false;
    };
    if (!WriteTOC()) {
        return fail("the scene data is larger than 4 GB.");
    }

    // The file replaces the previous one only once it is complete on disk: a
    // failed save must not destroy the previous file. A file being replaced
    // keeps its permissions; a new package is a program and gets execute
    // permission.
    CAtomicFile file(path);
    file.KeepPermissions(m_bPacked ? 0755 : 0644);
    bool written = file.Open();
    if (written && m_bPacked) {
        std::vector<BYTE> player;
        if (CBNFile::ReadAll(PlayerImagePath().string(), player)) {
            written = file.Write(player.data(), player.size());
        } else {
            CEngineLog::Instance().Write("CSceneFile::Save => no player image at %s\n", PlayerImagePath().c_str());
        }
    }
    written = written && file.Write(m_Buffer.data(), m_Buffer.size()) && file.Finish() && file.Publish();
    if (!written) {
        return fail(std::strerror(file.GetErrorNumber()));
    }
    return true;
}

bool CSceneFile::Load(const CString& path) {
    m_ReferenceDirectory = DirectoryOf(path);
    std::vector<BYTE> data;
    if (!CBNFile::ReadAll(path, data)) {
        CTools::Error("Unable to open the scene file " + Quoted(path) + ".");
        return false;
    }
    return LoadData(std::move(data));
}

bool CSceneFile::LoadData(std::vector<BYTE> data) {
    if (data.size() > kMaxStoredSize) {
        CTools::Error("Unable to read the scene file: it is larger than 4 GB.");
        return false;
    }
    m_Buffer = std::move(data);
    m_Size = m_Buffer.size();
    m_DataEnd = m_Size;
    m_ReadLimit = m_Size;
    m_bInRecord = false;
    m_Position = 0;
    if (ParseTrailer() == ETrailer::Damaged) {
        CTools::Error("Damaged scene file: the scene data length in the trailer is larger than the file.");
        return false;
    }
    return true;
}

bool CSceneFile::ReadReferencedFile(const CString& path, std::vector<BYTE>& data) const {
    return CBNFile::ReadAll(path, data) || CBNFile::ReadAll(m_ReferenceDirectory + FileNameOf(path), data);
}

const CSceneFile::SEmbeddedFile* CSceneFile::FindEmbedded(const CString& name) const {
    const auto found = std::find_if(m_EmbeddedFiles.begin(), m_EmbeddedFiles.end(),
                                    [&name](const SEmbeddedFile& f) { return f.name == name; });
    return found != m_EmbeddedFiles.end() ? &*found : nullptr;
}

bool CSceneFile::WasWritten(const CString& name) const {
    return std::find(m_WrittenNames.begin(), m_WrittenNames.end(), name) != m_WrittenNames.end();
}

// ---------------------------------------------------------------- music

void CSceneFile::WriteMusicFile(const std::vector<BYTE>& data) {
    std::vector<std::string> candidates = {"music.tmp"};
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime) {
        candidates.push_back((std::filesystem::path(runtime) / "music.tmp").string());
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    candidates.push_back(((error ? std::filesystem::path("/tmp") : temporary) / "music.tmp").string());

    for (const std::string& candidate : candidates) {
        if (WriteWholeFile(candidate, data)) {
            if (candidate != candidates.front()) {
                CEngineLog::Instance().Write(
                    "CSceneFile::ReadFile => the current directory is not writable, music written to %s\n",
                    candidate.c_str());
            }
            std::lock_guard<std::mutex> guard(MusicPathMutex());
            MusicPath() = candidate;
            return;
        }
    }
    CEngineLog::Instance().Write("CSceneFile::ReadFile => unable to write music.tmp\n");
}

CString CSceneFile::GetMusicFilePath() {
    std::lock_guard<std::mutex> guard(MusicPathMutex());
    return MusicPath();
}
