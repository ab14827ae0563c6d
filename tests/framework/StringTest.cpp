// CString: bytes in code page 936, with searching and rewriting that respect double-byte
// characters (whose trail byte may be '\\' or an ASCII letter).
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/AfxString.h"
#include "tests/framework/FrameworkTestIds.h"

namespace {

// GBK characters whose trail byte looks like ASCII: 乗 = 81 5C ('\\'), 乤 = 81 61 ('a'),
// 丄 = 81 41 ('A').
const char kBackslashTrail[] = "乗";
const char kLowerTrail[] = "乤";
const char kUpperTrail[] = "丄";

TEST(CStringCodePage, TheTestCharactersHaveAsciiTrailBytes)
{
    EXPECT_STREQ("\x81\x5C", kBackslashTrail);
    EXPECT_STREQ("\x81\x61", kLowerTrail);
    EXPECT_STREQ("\x81\x41", kUpperTrail);
}

TEST(CStringCodePage, WideTextConvertsThroughTheAnsiCodePage)
{
    CString name(L"\u5FB7\u62C9\u6C83\u5F52\u6863\u52A9\u624B");
    EXPECT_STREQ("德拉沃归档助手", name);
    EXPECT_EQ(14, name.GetLength());  // bytes
    EXPECT_EQ(std::wstring(L"\u5FB7\u62C9\u6C83\u5F52\u6863\u52A9\u624B"), name.ToWide());
    // A character code page 936 lacks becomes '?'.
    EXPECT_STREQ("a?b", CString(L"a\u0E01b"));
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_TRUE(CString(L"").ToWide().empty());
}

TEST(CStringCodePage, LoadStringGivesTheResourceInCodePage936)
{
    CString about;
    EXPECT_TRUE(about.LoadString(IDS_ABOUT));
    EXPECT_STREQ("关于 Installer(&A)...", about);
    CString missing("old");
    EXPECT_FALSE(missing.LoadString(9999));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(CStringCodePage, FindSkipsTrailBytes)
{
    const struct {
        CString text;
        char ch;
        int find, reverseFind;
    } cases[] = {
        {CString("ab") + kBackslashTrail, '\\', -1, -1},
        {CString(kBackslashTrail) + "\\x", '\\', 2, 2},
        {CString("C:\\") + kBackslashTrail + "\\", '\\', 2, 5},
        {CString(kLowerTrail) + "a", 'a', 2, 2},
        {CString(kLowerTrail), 'a', -1, -1},
        {CString(""), 'a', -1, -1},
        {CString("abcabc"), 'c', 2, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.GetString());
        EXPECT_EQ(c.find, c.text.Find(c.ch));
        EXPECT_EQ(c.reverseFind, c.text.ReverseFind(c.ch));
    }
    CString path = CString("C:\\") + kBackslashTrail + "\\x\\";
    EXPECT_EQ(5, path.Find('\\', 3));
    EXPECT_EQ(5, path.Find("\\x"));
    EXPECT_EQ(-1, CString(kBackslashTrail).Find("\\"));
    EXPECT_EQ(-1, path.Find(""));
}

TEST(CStringCodePage, ReplaceAndRemoveLeaveDoubleByteCharactersWhole)
{
    CString path = CString("C:\\") + kBackslashTrail + "\\dir";
    EXPECT_EQ(2, path.Replace('\\', '/'));
    EXPECT_EQ(CString("C:/") + kBackslashTrail + "/dir", path);

    CString text = CString(kBackslashTrail) + "\\\\" + kBackslashTrail;
    EXPECT_EQ(1, text.Replace("\\\\", "/"));
    EXPECT_EQ(CString(kBackslashTrail) + "/" + kBackslashTrail, text);

    CString slashes = CString(kBackslashTrail) + "\\";
    EXPECT_EQ(1, slashes.Remove('\\'));
    EXPECT_EQ(CString(kBackslashTrail), slashes);

    CString empty;
    EXPECT_EQ(0, empty.Replace("a", "b"));
    CString same("abc");
    EXPECT_EQ(0, same.Replace("", "x"));
    EXPECT_EQ(1, same.Replace("b", nullptr));
    EXPECT_STREQ("ac", same);
}

TEST(CStringCodePage, CaseChangesOnlyAsciiLetters)
{
    CString upper = CString("abc") + kLowerTrail + "z";
    upper.MakeUpper();
    EXPECT_EQ(CString("ABC") + kLowerTrail + "Z", upper);

    CString lower = CString("ABC") + kUpperTrail + "Z";
    lower.MakeLower();
    EXPECT_EQ(CString("abc") + kUpperTrail + "z", lower);

    EXPECT_EQ(0, (CString("Program ") + kLowerTrail).CompareNoCase(CString("PROGRAM ") + kLowerTrail));
    EXPECT_NE(0, CString(kLowerTrail).CompareNoCase(kUpperTrail));
    EXPECT_LT(CString("a").CompareNoCase("B"), 0);
}

TEST(CStringCodePage, TrimRemovesBlanksAtBothEnds)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"  德拉沃归档助手 \r\n", "德拉沃归档助手"},
        {"\t a b \t", "a b"},
        {"   ", ""},
        {"", ""},
        {"乗", "乗"},
        {"x乗 ", "x乗"},
    };
    for (const auto& c : cases) {
        CString s(c.text);
        EXPECT_STREQ(c.trimmed, s.Trim()) << c.text;
    }
    CString left("  a  "), right("  a  ");
    EXPECT_STREQ("a  ", left.TrimLeft());
    EXPECT_STREQ("  a", right.TrimRight());
    CString slashes(CString("\\\\") + kBackslashTrail + "\\");
    EXPECT_EQ(CString(kBackslashTrail), slashes.Trim('\\'));
}

TEST(CStringBytes, LeftRightAndMidCountBytesAndClamp)
{
    CString s("abcdef");
    EXPECT_STREQ("abc", s.Left(3));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ("abcdef", s.Left(99));
    EXPECT_STREQ("ef", s.Right(2));
    EXPECT_STREQ("", s.Right(0));
    EXPECT_STREQ("abcdef", s.Right(99));
    EXPECT_STREQ("cd", s.Mid(2, 2));
    EXPECT_STREQ("cdef", s.Mid(2));
    EXPECT_STREQ("abcdef", s.Mid(-3));
    EXPECT_STREQ("", s.Mid(6));
    EXPECT_STREQ("", s.Mid(2, -1));
    EXPECT_STREQ("德", CString("德拉沃").Left(2));
}

TEST(CStringBytes, BuildingAndComparing)
{
    CString s(static_cast<LPCSTR>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    s += "C:\\Program Files\\";
    s += CString("德拉沃归档助手");
    s += '\\';
    EXPECT_STREQ("C:\\Program Files\\德拉沃归档助手\\", s);
    EXPECT_TRUE(s == "C:\\Program Files\\德拉沃归档助手\\");
    EXPECT_TRUE("x" + CString("y") == CString("xy"));
    EXPECT_TRUE(CString("a") != "b");
    EXPECT_EQ('\\', s[s.GetLength() - 1]);
    EXPECT_EQ('C', s[static_cast<size_t>(0)]);
    EXPECT_EQ(CString('-', 3), "---");
    EXPECT_TRUE(CString("abc", -1).IsEmpty());
    EXPECT_STREQ("ab", CString("abc", 2));
    s.Empty();
    EXPECT_EQ(0, s.GetLength());
    CString inserted("ac");
    inserted.Insert(1, "b");
    EXPECT_STREQ("abc", inserted);
}

TEST(CStringBytes, FormatAndBuffers)
{
    CString s;
    s.Format("\"%s\"", "C:\\德拉沃归档助手\\vexaDesk.exe");
    EXPECT_STREQ("\"C:\\德拉沃归档助手\\vexaDesk.exe\"", s);
    s.Format("%d%%, %s", 50, "");
    EXPECT_STREQ("50%, ", s);
    s.AppendFormat("%05.1f", 2.5);
    EXPECT_STREQ("50%, 002.5", s);
    CString big;
    big.Format("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(5000, big.GetLength());

    CString buffer;
    strcpy(buffer.GetBuffer(260), "written");
    buffer.ReleaseBuffer();
    EXPECT_STREQ("written", buffer);
    EXPECT_EQ(7, buffer.GetLength());
    buffer.GetBuffer(10);
    buffer.ReleaseBuffer(3);
    EXPECT_STREQ("wri", buffer);
}

}  // namespace
