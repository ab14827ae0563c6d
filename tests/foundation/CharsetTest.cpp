// The build's text conventions: narrow literals in code page 936, and a Wine process whose
// ANSI code page is 936, so the A functions read and show them as Chinese.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Charset, NarrowLiteralsAreCodePage936)
{
    const char text[] = "德拉沃归档助手";
    const unsigned char expected[] = {0xB5, 0xC2, 0xC0, 0xAD, 0xCE, 0xD6, 0xB9, 0xE9,
                                      0xB5, 0xB5, 0xD6, 0xFA, 0xCA, 0xD6};
    ASSERT_EQ(sizeof(expected) + 1, sizeof(text));
    for (size_t i = 0; i < sizeof(expected); ++i)
        EXPECT_EQ(expected[i], static_cast<unsigned char>(text[i])) << "byte " << i;
}

TEST(Charset, AnsiCodePageIs936AndRoundTripsTheProductName)
{
    EXPECT_EQ(936u, GetACP());
    wchar_t wide[16] = {};
    ASSERT_EQ(8, MultiByteToWideChar(CP_ACP, 0, "德拉沃归档助手", -1, wide, 16));
    EXPECT_EQ(std::wstring(L"\u5FB7\u62C9\u6C83\u5F52\u6863\u52A9\u624B"), std::wstring(wide));
}
