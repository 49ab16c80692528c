// Referenced files in plain and packed mode, and object records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <memory>

#include "scene/CObjectFactory.h"
#include "scene/CObjects.h"
#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

namespace {

std::vector<BYTE> Text(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

std::vector<BYTE> Embedded(CSceneFile& file, const CString& name) {
    BYTE* data = nullptr;
    const int size = file.GetFile(name, data);
    return size > 0 ? std::vector<BYTE>(data, data + size) : std::vector<BYTE>();
}

// A stored object with one value of its own, written before the base strings.
class CCounterObject : public CObjects {
public:
    explicit CCounterObject(int value = 0, const char* type = "CCounterObject") : m_value(value) { m_Type = type; }
    void Save(CSceneFile& file) override {
        file.WriteInt(m_value);
        CObjects::Save(file);
    }
    bool Load(CSceneFile& file) override {
        m_value = file.ReadInt();
        return CObjects::Load(file);
    }
    int m_value;
};

// Reads more than it wrote: the extra values must come back as zeros.
class CGreedyObject : public CCounterObject {
public:
    CGreedyObject() : CCounterObject(0, "CGreedyObject") {}
    bool Load(CSceneFile& file) override {
        const bool loaded = CCounterObject::Load(file);
        m_extraInt = file.ReadInt();
        m_extraFloat = file.ReadFloat();
        m_extraBool = file.ReadBool();
        return loaded;
    }
    int m_extraInt = -1;
    float m_extraFloat = -1.0f;
    bool m_extraBool = true;
};

// Refuses to load: the scene file must drop it and go on.
class CRefusingObject : public CCounterObject {
public:
    CRefusingObject() : CCounterObject(0, "CRefusingObject") {}
    bool Load(CSceneFile& file) override {
        CCounterObject::Load(file);
        return false;
    }
};

class SceneFileRecords : public testing::Test {
protected:
    void SetUp() override {
        CObjectFactory::Register("CCounterObject", [] { return new CCounterObject(); });
        CObjectFactory::Register("CGreedyObject", [] { return new CGreedyObject(); });
        CObjectFactory::Register("CRefusingObject", [] { return new CRefusingObject(); });
    }
    void TearDown() override {
        CObjectFactory::Unregister("CCounterObject");
        CObjectFactory::Unregister("CGreedyObject");
        CObjectFactory::Unregister("CRefusingObject");
    }
    CScene m_scene;
};

}  // namespace

TEST_F(SceneFileRecords, RecordIsTypeNameLengthAndObjectData) {
    CCounterObject object(0x11223344);
    object.SetObjName("box");
    CSceneFile file(m_scene, false, "");
    file.Write(object);

    std::vector<BYTE> expected = {14, 0, 0, 0};
    const std::vector<BYTE> type = Text("CCounterObject");
    expected.insert(expected.end(), type.begin(), type.end());
    // 4 (int) + 4 (empty description) + 4 + 14 (type) + 4 + 3 (name)
    const std::vector<BYTE> rest = {33, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0, 14, 0, 0, 0};
    expected.insert(expected.end(), rest.begin(), rest.end());
    expected.insert(expected.end(), type.begin(), type.end());
    const std::vector<BYTE> name = {3, 0, 0, 0, 'b', 'o', 'x'};
    expected.insert(expected.end(), name.begin(), name.end());
    EXPECT_EQ(file.GetData(), expected);
}

TEST_F(SceneFileRecords, UnknownShortAndRefusedRecordsDoNotDisturbTheNextOne) {
    CSceneFile out(m_scene, false, "");
    CCounterObject unknown(1, "CMysteryObject");
    CGreedyObject greedy;
    greedy.m_value = 2;
    CRefusingObject refusing;
    CCounterObject last(4);
    last.SetObjName("last");
    for (CObjects* object : std::initializer_list<CObjects*>{&unknown, &greedy, &refusing, &last}) {
        out.Write(*object);
    }

    CSceneFile in(m_scene, false, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_EQ(in.Read(), nullptr);  // unknown type: skipped by its length

    std::unique_ptr<CObjects> second(in.Read());
    auto* readGreedy = dynamic_cast<CGreedyObject*>(second.get());
    ASSERT_NE(readGreedy, nullptr);
    EXPECT_EQ(readGreedy->m_value, 2);
    EXPECT_EQ(readGreedy->m_extraInt, 0);
    EXPECT_FLOAT_EQ(readGreedy->m_extraFloat, 0.0f);
    EXPECT_FALSE(readGreedy->m_extraBool);
    EXPECT_EQ(readGreedy->GetScene(), &m_scene);

    EXPECT_EQ(in.Read(), nullptr);  // its Load failed

    std::unique_ptr<CObjects> fourth(in.Read());
    auto* readLast = dynamic_cast<CCounterObject*>(fourth.get());
    ASSERT_NE(readLast, nullptr);
    EXPECT_EQ(readLast->m_value, 4);
    EXPECT_EQ(readLast->GetObjName(), "last");
    EXPECT_EQ(in.GetPosition(), out.GetData().size());
}

TEST_F(SceneFileRecords, TheLastRecordReadsZerosPastItsEndToo) {
    CSceneFile out(m_scene, false, "");
    CGreedyObject greedy;
    greedy.m_value = 9;
    out.Write(greedy);

    // The record ends where the data ends: the extra values are still the
    // record's business, not damage.
    CSceneFile in(m_scene, false, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    std::unique_ptr<CObjects> object(in.Read());
    auto* read = dynamic_cast<CGreedyObject*>(object.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->m_value, 9);
    EXPECT_EQ(read->m_extraInt, 0);
    EXPECT_FALSE(read->m_extraBool);
    EXPECT_NO_THROW(in.ExpectEndOfData());
}

TEST_F(SceneFileRecords, ARecordCutAnywhereIsRefused) {
    CSceneFile out(m_scene, false, "");
    CCounterObject object(7);
    out.Write(object);
    const std::vector<BYTE>& whole = out.GetData();
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        CSceneFile in(m_scene, false, "");
        ASSERT_TRUE(in.LoadData(std::vector<BYTE>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut))));
        EXPECT_THROW(in.Read(), CSceneFileException);
    }
}

TEST_F(SceneFileRecords, RecordLongerThanTheDataIsRefused) {
    CSceneFile out(m_scene, false, "");
    CCounterObject object(7);
    out.Write(object);
    std::vector<BYTE> data = out.GetData();
    data.erase(data.end() - 10, data.end());

    CSceneFile in(m_scene, false, "");
    ASSERT_TRUE(in.LoadData(data));
    EXPECT_THROW(in.Read(), CSceneFileException);
}

TEST(SceneFilePacked, EachFileIsStoredOnceAndFoundByName) {
    CTempFolder folder;
    CScene scene;
    const std::string texture = folder.Write("wood.png", "PNG-DATA");
    CSceneFile out(scene, true, "");
    out.WriteFile(texture);
    out.WriteFile(texture);
    out.WriteFile("");
    out.WriteInt(99);

    const size_t nameBytes = 4 + texture.size();
    EXPECT_EQ(out.GetData().size(), nameBytes + 4 + 8 + nameBytes + 4 + 4);

    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_EQ(in.ReadFile(), texture);
    EXPECT_EQ(in.ReadFile(), texture);
    EXPECT_EQ(in.ReadFile(), "");
    EXPECT_EQ(in.ReadInt(), 99);
    EXPECT_EQ(Embedded(in, texture), Text("PNG-DATA"));
    BYTE* untouched = reinterpret_cast<BYTE*>(&in);
    EXPECT_EQ(in.GetFile("other.png", untouched), 0);
    EXPECT_EQ(untouched, reinterpret_cast<BYTE*>(&in));
}

TEST(SceneFilePacked, MissingFileIsReportedAndThePackageStaysReadable) {
    CScene scene;
    CErrorCapture errors;
    CSceneFile out(scene, true, "");
    out.WriteFile("C:\\nowhere\\lost.png");
    out.WriteFile("C:\\nowhere\\lost.png");
    out.WriteInt(5);
    EXPECT_THAT(errors.Texts(),
                testing::ElementsAre("Error: Unable to export the file \"C:\\nowhere\\lost.png\". File not found."));

    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_EQ(in.ReadFile(), "C:\\nowhere\\lost.png");
    EXPECT_EQ(in.ReadFile(), "C:\\nowhere\\lost.png");
    EXPECT_EQ(in.ReadInt(), 5);
    EXPECT_TRUE(Embedded(in, "C:\\nowhere\\lost.png").empty());
}

TEST(SceneFilePacked, EmbeddedFileLargerThanTheDataIsRefused) {
    CScene scene;
    CSceneFile out(scene, true, "");
    out.WriteString("big.raw");
    out.WriteUInt(1u << 20);
    out.WriteString("only a little");
    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_THROW(in.ReadFile(), CSceneFileException);
}

TEST(SceneFilePacked, MusicIsAlsoWrittenToMusicTmp) {
    CTempFolder folder;
    CScene scene;
    const std::string song = folder.Write("Song.Mp3", "ID3-MUSIC");
    const std::string other = folder.Write("notes.txt", "TEXT");
    CSceneFile out(scene, true, "");
    out.WriteFile(song);
    out.WriteFile(other);

    folder.Enter();  // music.tmp goes to the current directory
    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(out.GetData()));
    EXPECT_EQ(in.ReadFile(), song);
    EXPECT_EQ(CSceneFile::GetMusicFilePath(), "music.tmp");
    EXPECT_EQ(CTempFolder::Read(folder.Path("music.tmp")), Text("ID3-MUSIC"));
    std::filesystem::remove(folder.Path("music.tmp"));
    EXPECT_EQ(in.ReadFile(), other);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("music.tmp")));
}

TEST(SceneFilePacked, SaveAndLoadBeyondTenMillionBytes) {
    CTempFolder folder;
    CScene scene;
    std::vector<BYTE> large(10'500'000);
    for (size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<BYTE>(i * 7);
    }
    const std::string mesh = folder.Write("large.x", large);
    CSceneFile out(scene, true, "");
    out.WriteFile(mesh);
    out.WriteString("after");
    const std::string path = folder.Path("package.bgs");
    ASSERT_TRUE(out.Save(path));

    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.Load(path));
    // Whatever player image was put in front, the trailer leads to the data.
    EXPECT_EQ(in.GetPosition(), std::filesystem::file_size(path) - out.GetData().size());
    EXPECT_EQ(in.ReadFile(), mesh);
    EXPECT_EQ(in.ReadString(), "after");
    EXPECT_EQ(Embedded(in, mesh), large);
}

TEST(SceneFilePlain, FilesAreReadFromTheirPathOrTheReferenceFolder) {
    CTempFolder folder;
    CScene scene;
    folder.Write("sky.bmp", "BM-SKY");
    CSceneFile out(scene, false, "");
    out.WriteFile("C:\\Users\\someone\\scenes\\sky.bmp");  // written on Windows
    out.WriteFile("D:\\gone\\missing.bmp");
    const std::string path = folder.Path("scene.bgs");
    ASSERT_TRUE(out.Save(path));

    CErrorCapture errors;
    CSceneFile in(scene, false, "");
    ASSERT_TRUE(in.Load(path));
    EXPECT_EQ(in.ReadFile(), "C:\\Users\\someone\\scenes\\sky.bmp");
    EXPECT_EQ(Embedded(in, "C:\\Users\\someone\\scenes\\sky.bmp"), Text("BM-SKY"));

    const std::string message =
        "File Loading: Unable to find file \"D:\\gone\\missing.bmp\": This file is not in this "
        "directory and not in the project file directory.";
    try {
        in.ReadFile();
        FAIL() << "a missing file was accepted";
    } catch (const CSceneFileException& e) {
        EXPECT_EQ(e.GetMessage(), message);
    }
    EXPECT_THAT(errors.Texts(), testing::ElementsAre(message));
}
