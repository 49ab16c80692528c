// Byte layout of every typed value, the header and the trailer, and reads
// that run out of data.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scene/CScene.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> bytes;
    for (int v : values) {
        bytes.push_back(static_cast<BYTE>(v));
    }
    return bytes;
}

std::vector<BYTE> Text(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

std::vector<BYTE> Concat(std::initializer_list<std::vector<BYTE>> parts) {
    std::vector<BYTE> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<float> Floats(const std::vector<BYTE>& bytes) {
    std::vector<float> floats(bytes.size() / 4);
    std::memcpy(floats.data(), bytes.data(), floats.size() * 4);
    return floats;
}

}  // namespace

TEST(SceneFileEncoding, ScalarsAndStringsAreLittleEndianWithoutPadding) {
    CScene scene;
    CSceneFile file(scene, false, "");
    file.WriteUInt(0x01020304u);
    file.WriteInt(-2);
    file.WriteFloat(1.0f);
    file.WriteBool(true);
    file.WriteBool(false);
    file.WriteString("ab");
    file.WriteString("");
    EXPECT_EQ(file.GetData(), Bytes({0x04, 0x03, 0x02, 0x01,              //
                                     0xFE, 0xFF, 0xFF, 0xFF,              //
                                     0x00, 0x00, 0x80, 0x3F,              //
                                     0x01, 0x00,                          //
                                     0x02, 0x00, 0x00, 0x00, 0x61, 0x62,  //
                                     0x00, 0x00, 0x00, 0x00}));
}

TEST(SceneFileEncoding, VectorsColoursAndMaterialsAreFloatsInStoredOrder) {
    CScene scene;
    CSceneFile file(scene, false, "");
    file.WriteVector(D3DXVECTOR3(1.0f, 2.0f, 3.0f));
    file.WriteColor(D3DCOLORVALUE{4.0f, 5.0f, 6.0f, 7.0f});
    D3DMATERIAL8 material;
    material.Diffuse = {1.0f, 2.0f, 3.0f, 4.0f};
    material.Ambient = {5.0f, 6.0f, 7.0f, 8.0f};
    material.Emissive = {9.0f, 10.0f, 11.0f, 12.0f};
    material.Specular = {13.0f, 14.0f, 15.0f, 16.0f};
    material.Power = 17.0f;
    file.WriteMaterial(material);
    ASSERT_EQ(file.GetData().size(), 12u + 16u + 68u);

    std::vector<float> expected = {1, 2, 3, 4, 5, 6, 7};
    for (int i = 1; i <= 17; ++i) {
        expected.push_back(static_cast<float>(i));  // diffuse, ambient, emissive, specular, power
    }
    EXPECT_EQ(Floats(file.GetData()), expected);

    CSceneFile in(scene, false, "");
    ASSERT_TRUE(in.LoadData(file.GetData()));
    EXPECT_FLOAT_EQ(in.ReadVector().z, 3.0f);
    EXPECT_FLOAT_EQ(in.ReadColor().a, 7.0f);
    const D3DMATERIAL8 read = in.ReadMaterial();
    EXPECT_FLOAT_EQ(read.Emissive.r, 9.0f);
    EXPECT_FLOAT_EQ(read.Specular.a, 16.0f);
    EXPECT_FLOAT_EQ(read.Power, 17.0f);
}

TEST(SceneFileEncoding, HeaderIsMagicAndVersionStrings) {
    CScene scene;
    CSceneFile file(scene, false, "");
    EXPECT_TRUE(file.WriteHeader());
    EXPECT_EQ(file.GetData(),
              Concat({Bytes({21, 0, 0, 0}), Text("BrennoxGraphicalScene"), Bytes({11, 0, 0, 0}), Text("001.000.000")}));

    CSceneFile good(scene, false, "");
    ASSERT_TRUE(good.LoadData(file.GetData()));
    EXPECT_TRUE(good.ReadHeader());

    std::vector<BYTE> wrongVersion = file.GetData();
    wrongVersion.back() = '1';
    CSceneFile bad(scene, false, "");
    ASSERT_TRUE(bad.LoadData(wrongVersion));
    EXPECT_FALSE(bad.ReadHeader());

    CSceneFile notAScene(scene, false, "");
    ASSERT_TRUE(notAScene.LoadData(Text("GIF89a, certainly not a scene")));
    EXPECT_FALSE(notAScene.ReadHeader());
}

TEST(SceneFileTrailer, StoresDisplayFormatAndTruncatesLongNames) {
    CTempFolder folder;
    CScene scene;
    CSceneFile file(scene, false, "");
    file.WriteInt(77);
    file.GetDisplayFormat() = CDisplayFormat(3, 5, std::string(150, 'x'));
    const std::string path = folder.Path("trailer.bgs");
    ASSERT_TRUE(file.Save(path));

    const std::vector<BYTE> saved = CTempFolder::Read(path);
    ASSERT_EQ(saved.size(), 4u + 122u);
    const std::vector<BYTE> trailer(saved.end() - 122, saved.end());
    EXPECT_EQ(std::vector<BYTE>(trailer.begin(), trailer.begin() + 14),
              Bytes({0x0D, 0x0E, 3, 0, 0, 0, 5, 0, 0, 0, 126, 0, 0, 0}));
    EXPECT_EQ(std::vector<BYTE>(trailer.begin() + 14, trailer.begin() + 114), std::vector<BYTE>(100, 'x'));
    EXPECT_EQ(std::vector<BYTE>(trailer.begin() + 114, trailer.end()), std::vector<BYTE>(8, 0));

    CSceneFile in(scene, false, "");
    ASSERT_TRUE(in.Load(path));
    EXPECT_EQ(in.GetDisplayFormat().m_iResolution, 3);
    EXPECT_EQ(in.GetDisplayFormat().m_iFlags, 5);
    EXPECT_EQ(in.GetDisplayFormat().m_Name, std::string(100, 'x'));
    EXPECT_EQ(in.GetPosition(), 0u);
    EXPECT_EQ(in.ReadInt(), 77);
}

TEST(SceneFileTrailer, LocatesSceneDataBehindAProgramImage) {
    CScene scene;
    CSceneFile file(scene, false, "");
    file.WriteString("scene");
    file.GetDisplayFormat() = CDisplayFormat(1, 0, "Title");
    ASSERT_TRUE(file.WriteTOC());
    const std::vector<BYTE> package = Concat({std::vector<BYTE>(1000, 0x90), file.GetData()});

    CSceneFile in(scene, true, "");
    ASSERT_TRUE(in.LoadData(package));
    EXPECT_EQ(in.GetPosition(), 1000u);
    EXPECT_EQ(in.ReadString(), "scene");
    EXPECT_EQ(in.GetDisplayFormat().m_Name, "Title");

    // Without the trailer markers the data is read from the start.
    CSceneFile plain(scene, false, "");
    ASSERT_TRUE(plain.LoadData(Concat({Bytes({1, 0, 0, 0}), Text("z")})));
    EXPECT_FALSE(plain.ReadTOC());
    EXPECT_EQ(plain.ReadString(), "z");
}

TEST(SceneFileDamage, OversizedLengthsAreRefusedWithAMessage) {
    CScene scene;
    CErrorCapture errors;

    // A text whose length runs past the end of the data.
    CSceneFile truncated(scene, false, "");
    ASSERT_TRUE(truncated.LoadData(Concat({Bytes({0xE8, 0x03, 0, 0}), Text("only ten b")})));
    try {
        truncated.ReadString();
        FAIL() << "a text past the end was read";
    } catch (const CSceneFileException& e) {
        EXPECT_THAT(e.GetMessage(), testing::HasSubstr("Damaged scene file: a text of 1000 bytes"));
    }

    // A trailer whose scene data length is larger than the file.
    CSceneFile source(scene, false, "");
    source.WriteInt(1);
    ASSERT_TRUE(source.WriteTOC());
    std::vector<BYTE> data = source.GetData();
    data[data.size() - 122 + 11] = 0x10;  // length 126 + 4096
    CSceneFile damaged(scene, false, "");
    EXPECT_FALSE(damaged.LoadData(data));
    EXPECT_THAT(
        errors.Texts(),
        testing::ElementsAre(testing::HasSubstr("the scene data length in the trailer is larger than the file")));
}

TEST(SceneFileDamage, ValuesPastTheEndOfTheDataAreRefusedWithoutAdvancing) {
    CScene scene;
    CSceneFile file(scene, false, "");
    ASSERT_TRUE(file.LoadData(Bytes({0x01, 0x02})));
    try {
        file.ReadUInt();
        FAIL() << "a value past the end was read";
    } catch (const CSceneFileException& e) {
        EXPECT_EQ(e.GetMessage(),
                  "Damaged scene file: a 4-byte value at offset 0 runs past the end of the data at offset 2.");
    }
    EXPECT_THROW(file.ReadInt(), CSceneFileException);
    EXPECT_THROW(file.ReadFloat(), CSceneFileException);
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_TRUE(file.ReadBool());
    EXPECT_TRUE(file.ReadBool());
    EXPECT_THROW(file.ReadBool(), CSceneFileException);
    EXPECT_THROW(file.ReadString(), CSceneFileException);
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(SceneFileDamage, TheTrailerIsNotSceneData) {
    CScene scene;
    CSceneFile source(scene, false, "");
    source.WriteInt(77);
    source.WriteString("ab");
    ASSERT_TRUE(source.WriteTOC());
    std::vector<BYTE> data = source.GetData();

    CSceneFile in(scene, false, "");
    ASSERT_TRUE(in.LoadData(data));
    EXPECT_EQ(in.ReadInt(), 77);
    EXPECT_EQ(in.ReadString(), "ab");
    EXPECT_NO_THROW(in.ExpectEndOfData());
    EXPECT_THROW(in.ReadBool(), CSceneFileException);

    // A text may not reach into the trailer either.
    data[4] = 3;
    CSceneFile longer(scene, false, "");
    ASSERT_TRUE(longer.LoadData(data));
    EXPECT_EQ(longer.ReadInt(), 77);
    EXPECT_THROW(longer.ReadString(), CSceneFileException);
}

TEST(SceneFileDamage, BytesAfterTheLastValueAreRefused) {
    CScene scene;
    CSceneFile source(scene, false, "");
    source.WriteInt(5);
    ASSERT_TRUE(source.WriteTOC());
    const std::vector<BYTE> whole = source.GetData();

    // Every cut inside the trailer leaves it unrecognised: the bytes that
    // are left over are named as what they are.
    for (size_t kept = 1; kept < 122; ++kept) {
        SCOPED_TRACE(kept);
        CSceneFile cut(scene, false, "");
        ASSERT_TRUE(cut.LoadData(std::vector<BYTE>(whole.begin(), whole.begin() + 4 + kept)));
        EXPECT_EQ(cut.ReadInt(), 5);
        try {
            cut.ExpectEndOfData();
            FAIL() << "a cut trailer went unnoticed";
        } catch (const CSceneFileException& e) {
            EXPECT_EQ(e.GetMessage(), "Damaged scene file: the trailer at offset 4 has only " + std::to_string(kept) +
                                          " of its 122 bytes.");
        }
    }

    CSceneFile extra(scene, false, "");
    ASSERT_TRUE(extra.LoadData(Bytes({5, 0, 0, 0, 'x', 'y'})));
    EXPECT_EQ(extra.ReadInt(), 5);
    try {
        extra.ExpectEndOfData();
        FAIL() << "bytes after the data went unnoticed";
    } catch (const CSceneFileException& e) {
        EXPECT_EQ(e.GetMessage(), "Damaged scene file: 2 bytes at offset 4 follow the last object.");
    }
}

TEST(SceneFileSave, FailedSaveReportsAndKeepsThePreviousFile) {
    CTempFolder folder;
    CScene scene;
    CErrorCapture errors;

    CSceneFile missingFolder(scene, false, "");
    missingFolder.WriteInt(1);
    EXPECT_FALSE(missingFolder.Save(folder.Path("no-such-folder/scene.bgs")));
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_THAT(errors.Texts()[0], testing::HasSubstr("Unable to save the file"));

    // The target cannot be replaced (it is a folder holding a file): the
    // save fails, nothing of the old content is lost and no half-written
    // file is left behind.
    std::filesystem::create_directory(folder.Path("taken.bgs"));
    folder.Write("taken.bgs/keep.txt", "old");
    CSceneFile blocked(scene, false, "");
    blocked.WriteInt(2);
    EXPECT_FALSE(blocked.Save(folder.Path("taken.bgs")));
    EXPECT_EQ(errors.Count(), 2u);
    EXPECT_EQ(CTempFolder::Read(folder.Path("taken.bgs/keep.txt")), Text("old"));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);

    // In a folder that cannot be written (meaningless for root, who may
    // write anywhere).
    if (::geteuid() != 0) {
        const std::string old = folder.Write("old.bgs", "previous");
        std::filesystem::permissions(folder.Root(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        CSceneFile readOnly(scene, false, "");
        readOnly.WriteInt(3);
        EXPECT_FALSE(readOnly.Save(old));
        EXPECT_EQ(CTempFolder::Read(old), Text("previous"));
    }
}

TEST(SceneFileSave, ReplacesAnExistingFileWhole) {
    CTempFolder folder;
    CScene scene;
    const std::string path = folder.Write("scene.bgs", std::string(5000, 'o'));
    CSceneFile file(scene, false, "");
    file.WriteString("new");
    ASSERT_TRUE(file.Save(path));
    EXPECT_EQ(CTempFolder::Read(path), file.GetData());
    EXPECT_EQ(CTempFolder::Read(path).size(), 7u + 122u);
}
