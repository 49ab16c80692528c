#pragma once
// The only reader and writer of scene files: a flat little-endian byte stream
// of typed values (header, scene settings, one length-prefixed record per
// object) closed by a 122-byte trailer with the display format.
//
// Plain mode stores referenced files (textures, meshes, fonts, music) by path
// name; packed mode stores each of them once in full, and puts a copy of the
// player program ("ScreenSaver.dat" beside the running program) in front of
// the scene data so that the result runs by itself.
//
// Reading never leaves the scene data (the trailer is not part of it). Inside
// an object record, scalar reads that would end past the record return 0 and
// do not advance, so that an object may read more than an older version of
// it wrote. Anything else that would end past the scene data (a value
// outside a record, a text, file size, count or record length) means a
// damaged file and throws CSceneFileException.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/D3DTypes.h"
#include "platform/d3dx/d3dx8math.h"
#include "scene/CDisplayFormat.h"
#include "scene/CSceneFileException.h"

class CObjects;
class CScene;

class CSceneFile {
public:
    static constexpr unsigned int kTrailerSize = 122;
    static constexpr unsigned int kTrailerNameSize = 100;

    // referencePath: a file whose folder is searched for referenced files that
    // are not at their stored path (usually the scene's previous path).
    CSceneFile(CScene& scene, bool packed, const CString& referencePath);
    virtual ~CSceneFile();
    CSceneFile(const CSceneFile&) = delete;
    CSceneFile& operator=(const CSceneFile&) = delete;

    // Typed writes, appended at the position.
    void WriteUInt(unsigned int value);
    void WriteInt(int value);
    void WriteFloat(float value);
    void WriteBool(bool value);
    void WriteString(const CString& text);      // uint32 length, bytes
    void WriteVector(const D3DXVECTOR3& v);     // x, y, z
    void WriteColor(const D3DCOLORVALUE& c);    // r, g, b, a
    void WriteMaterial(const D3DMATERIAL8& m);  // diffuse, ambient, emissive, specular, power
    // The path; in packed mode followed, at the path's first occurrence, by
    // uint32 size and the file's bytes (size 0 when it cannot be read).
    void WriteFile(const CString& path);

    // Typed reads, advancing the position; outside an object record they
    // throw when the data ends first.
    unsigned int ReadUInt();
    int ReadInt();
    float ReadFloat();
    bool ReadBool();
    // "" when, inside a record, even the length lies past the record's end;
    // throws when the text runs past the end of the data.
    CString ReadString();
    D3DXVECTOR3 ReadVector();
    D3DCOLORVALUE ReadColor();
    D3DMATERIAL8 ReadMaterial();
    // Returns the stored path; the content is then found with GetFile. Throws
    // when a plain-mode file cannot be found (after showing the message) or
    // when an embedded file runs past the end of the data.
    CString ReadFile();
    // A uint32 count of items that take at least itemBytes each; throws when
    // that many items cannot fit before the read limit.
    unsigned int ReadCount(unsigned int itemBytes);

    // Size of the first embedded file of exactly that name, with data set to
    // its bytes (owned by this object); 0 with data untouched when none.
    int GetFile(const CString& name, BYTE*& data);

    // One object record: type name, uint32 length, the object's own data.
    void Write(CObjects& object);
    // The next record's object (attached to the scene), or null when its type
    // is unknown or its Load fails; either way reading goes on after the
    // record. Throws on a record that runs past the end of the data.
    std::unique_ptr<CObjects> Read();

    bool WriteHeader();
    bool ReadHeader();
    // Appends the trailer; false when the data outgrows its 32-bit length.
    bool WriteTOC();
    // Reads the trailer at the end of the data and positions at the start of
    // the scene data; false when there is no (valid) trailer.
    bool ReadTOC();
    // Throws unless the position is at the end of the scene data: a scene's
    // data ends with its last record, so bytes left over mean damage, most
    // often a trailer cut short (the file then seems to have none).
    void ExpectEndOfData() const;

    // Writes the trailer and the file. The file is replaced only once all of
    // it was written; on failure the message goes through the error hook, the
    // previous file is left as it was and the result is false.
    bool Save(const CString& path);
    // Reads the file and positions at the scene data; false (after a message)
    // when it cannot be read or its trailer is damaged.
    bool Load(const CString& path);
    // The same from bytes in memory (the packed data of the running program,
    // tests, fuzzing).
    bool LoadData(std::vector<BYTE> data);

    CDisplayFormat& GetDisplayFormat() { return m_DisplayFormat; }
    bool IsPacked() const { return m_bPacked; }
    CScene& GetScene() { return *m_pScene; }
    const std::vector<BYTE>& GetData() const { return m_Buffer; }
    size_t GetPosition() const { return m_Position; }

    // Where the music of a packed scene was last written: "music.tmp" in the
    // current directory, or in $XDG_RUNTIME_DIR or the temporary directory
    // when the current directory cannot be written.
    static CString GetMusicFilePath();

private:
    enum class ETrailer {
        None,
        Valid,
        Damaged
    };

    struct SEmbeddedFile {
        CString name;
        std::vector<BYTE> data;
    };

    void WriteBytes(const void* bytes, size_t count);
    bool ReadBytes(void* bytes, size_t count);
    size_t ReadEnd() const;
    size_t BytesLeft() const;
    [[noreturn]] void ThrowDamaged(const CString& what) const;
    void LeaveRecord(size_t recordEnd);

    ETrailer ParseTrailer();
    bool ReadReferencedFile(const CString& path, std::vector<BYTE>& data) const;
    const SEmbeddedFile* FindEmbedded(const CString& name) const;
    bool WasWritten(const CString& name) const;
    static void WriteMusicFile(const std::vector<BYTE>& data);

    std::vector<BYTE> m_Buffer;  // the scene data, written or read; grows as needed
    bool m_bPacked = false;
    size_t m_Position = 0;
    size_t m_Size = 0;         // bytes read by Load
    size_t m_DataEnd = 0;      // where the scene data ends: before the trailer, or at m_Size
    size_t m_ReadLimit = 0;    // scalar reads must end at or before it
    bool m_bInRecord = false;  // an object is reading its record
    CString m_ReferenceDirectory;
    CScene* m_pScene = nullptr;
    std::vector<SEmbeddedFile> m_EmbeddedFiles;
    std::vector<CString> m_WrittenNames;
    CDisplayFormat m_DisplayFormat{0, 1, ""};
};
