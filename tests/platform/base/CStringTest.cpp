#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_map>

TEST(CString, ComparesByteForByteIncludingEmbeddedNuls) {
    const CString a(std::string("ab\0cd", 5));
    const CString b(std::string("ab\0ce", 5));
    const CString prefix("ab");
    EXPECT_EQ(a.GetLength(), 5);
    EXPECT_NE(a, b);
    EXPECT_NE(a, prefix);  // a C-string comparison would stop at the NUL
    EXPECT_LT(a, b);
    EXPECT_EQ(a, CString(std::string("ab\0cd", 5)));
    EXPECT_NE(CString("Box"), CString("box"));  // case matters
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_FALSE(prefix.IsEmpty());
}

TEST(CString, ExtractsLeftRightAndMidWithClampedBounds) {
    const CString s("C:\\scenes\\demo.lvx");
    EXPECT_EQ(s.Left(2), "C:");
    EXPECT_EQ(s.Right(3), "lvx");
    EXPECT_EQ(s.Mid(3), "scenes\\demo.lvx");
    EXPECT_EQ(s.Mid(3, 6), "scenes");
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Right(100), s);
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(0), "");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Mid(-5, 2), "C:");
    EXPECT_EQ(s.Mid(15, 100), "lvx");
    // The texture-name rule of the text object: last three characters replaced.
    EXPECT_EQ(CString("font.png").Left(CString("font.png").GetLength() - 3) + "bnf", "font.bnf");
}

TEST(CString, FindsCharactersAndSubstrings) {
    const CString s("a/b\\c/d");
    EXPECT_EQ(s.Find('/'), 1);
    EXPECT_EQ(s.Find('/', 2), 5);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("c/"), 4);
    EXPECT_EQ(s.Find("c/", 5), -1);
    EXPECT_EQ(s.Find('/', 100), -1);
    EXPECT_EQ(s.Find('/', -1), -1);
    EXPECT_EQ(s.ReverseFind('/'), 5);
    EXPECT_EQ(s.ReverseFind('\\'), 3);
    EXPECT_EQ(s.ReverseFind('q'), -1);
    EXPECT_EQ(CString().ReverseFind('/'), -1);
    const CString withNul(std::string("x\0y", 3));
    EXPECT_EQ(withNul.Find('y'), 2);
    EXPECT_EQ(withNul.Find(std::string_view("\0y", 2)), 1);
}

TEST(CString, ChangesAsciiCaseInPlace) {
    CString s("MiXeD 123 \xC4");
    CString& lowered = s.MakeLower();
    EXPECT_EQ(&lowered, &s);
    EXPECT_EQ(s, "mixed 123 \xC4");
    EXPECT_EQ(s.MakeUpper(), "MIXED 123 \xC4");
}

TEST(CString, FormatsTextOfAnyLength) {
    CString s("old content");
    s.Format("Sound Error: %s", "device busy");
    EXPECT_EQ(s, "Sound Error: device busy");
    s.Format("V%s (Time: %.01f[s], FPS: %.02f)", "2.0.6", 12.25, 59.999);
    EXPECT_EQ(s, "V2.0.6 (Time: 12.2[s], FPS: 60.00)");
    const std::string longText(5000, 'x');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Mid(1, 5000), longText);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CString, WorksAsAKeyAndConvertsFromStdString) {
    std::unordered_map<CString, int> byName;
    byName[CString("Box")] = 1;
    byName[CString(std::string("Box\0x", 5))] = 2;
    EXPECT_EQ(byName.size(), 2u);
    EXPECT_EQ(byName.at(CString("Box")), 1);
    const CString joined = CString("C:\\") + "scene.lvx";  // std::string result converts back
    EXPECT_EQ(joined.Right(4), ".lvx");
}
