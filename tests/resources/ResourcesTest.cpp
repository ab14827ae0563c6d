// The executable's resources, read back at run time from this test program, which links the
// same compiled resource script as Installer.exe: ids, types, sizes and bit depths, texts in
// code page 936, the manifest, the version block, the dialog template with its initialisation
// data, and the drawn colours that the controls and the frame rely on.
// The Windows headers build on each other in this order.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Installer/res/resource.h"
#include "framework/AfxRes.h"

static_assert(WM_EDITBROWSE_INIT == AFX_WM_INITCTRL, "the path field reads its mode from this message");

namespace {

const COLORREF kPanel = RGB(230, 246, 255);
const COLORREF kAccent = RGB(76, 157, 254);
const COLORREF kHoverBlue = RGB(0, 140, 255);
const COLORREF kDisabledGrey = RGB(204, 204, 204);
const COLORREF kWhite = RGB(255, 255, 255);

struct Bytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Bytes Resource(LPCSTR type, UINT id)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(id), type);
    if (!res) return {};
    return {static_cast<const BYTE*>(LockResource(LoadResource(self, res))),
            SizeofResource(self, res)};
}

template <typename T>
T Read(const BYTE* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// ---- bitmaps ---------------------------------------------------------------------------------

struct BitmapCase {
    UINT id;
    LONG width, height;
    WORD bits;
};

const BitmapCase kBitmaps[] = {
    {IDB_CLOSE_HOVER, 25, 24, 24},      {IDB_CLOSE_PRESSED, 25, 24, 24},
    {IDB_CLOSE_NORMAL, 25, 24, 24},     {IDB_INSTALL_DISABLED, 160, 45, 24},
    {IDB_INSTALL_HOVER, 160, 45, 24},   {IDB_INSTALL_NORMAL, 160, 45, 24},
    {IDB_INSTALL_PRESSED, 160, 45, 24}, {IDB_CHECK_CHECKED, 24, 24, 32},
    {IDB_CHECK_UNCHECKED, 24, 24, 32},  {IDB_LAUNCH_HOVER, 160, 45, 24},
    {IDB_LAUNCH_NORMAL, 160, 45, 24},   {IDB_LAUNCH_PRESSED, 160, 45, 24},
    {IDB_BROWSE_HOVER, 32, 32, 24},     {IDB_BROWSE_NORMAL, 32, 32, 24},
    {IDB_BROWSE_PRESSED, 32, 32, 24},
};

TEST(Resources, BitmapsHaveTheirSizesAndDepths)
{
    for (const BitmapCase& c : kBitmaps) {
        SCOPED_TRACE(c.id);
        Bytes b = Resource(RT_BITMAP, c.id);
        ASSERT_NE(nullptr, b.data);
        auto h = Read<BITMAPINFOHEADER>(b.data);
        EXPECT_EQ(sizeof(BITMAPINFOHEADER), h.biSize);
        EXPECT_EQ(c.width, h.biWidth);
        EXPECT_EQ(c.height, h.biHeight);  // positive: bottom-up rows
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(c.bits, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
        const DWORD stride = (c.width * c.bits / 8 + 3) & ~3u;
        EXPECT_EQ(sizeof(BITMAPINFOHEADER) + stride * c.height, b.size);

        // The way the controls load them.
        HBITMAP bmp = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(nullptr, bmp);
        BITMAP info{};
        ASSERT_EQ(static_cast<int>(sizeof info), GetObjectA(bmp, sizeof info, &info));
        EXPECT_EQ(c.width, info.bmWidth);
        EXPECT_EQ(c.height, info.bmHeight);
        DeleteObject(bmp);
    }
}

// Colour of pixel (x, y), counted from the top left, of a bottom-up 24- or 32-bit bitmap.
COLORREF BitmapPixel(UINT id, int x, int y)
{
    Bytes b = Resource(RT_BITMAP, id);
    auto h = Read<BITMAPINFOHEADER>(b.data);
    const int bytes = h.biBitCount / 8;
    const int stride = (h.biWidth * bytes + 3) & ~3;
    const BYTE* p = b.data + h.biSize + (h.biHeight - 1 - y) * stride + x * bytes;
    return RGB(p[2], p[1], p[0]);
}

// The darkest pixel of a bitmap: the core of a drawn stroke, where the colour is exact.
COLORREF DarkestPixel(UINT id)
{
    auto h = Read<BITMAPINFOHEADER>(Resource(RT_BITMAP, id).data);
    COLORREF darkest = kWhite;
    for (int y = 0; y < h.biHeight; ++y)
        for (int x = 0; x < h.biWidth; ++x) {
            COLORREF c = BitmapPixel(id, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) <
                GetRValue(darkest) + GetGValue(darkest) + GetBValue(darkest))
                darkest = c;
        }
    return darkest;
}

bool HasPixel(UINT id, COLORREF colour)
{
    auto h = Read<BITMAPINFOHEADER>(Resource(RT_BITMAP, id).data);
    for (int y = 0; y < h.biHeight; ++y)
        for (int x = 0; x < h.biWidth; ++x)
            if (BitmapPixel(id, x, y) == colour) return true;
    return false;
}

struct PixelCase {
    UINT id;
    int x, y;
    COLORREF colour;
};

TEST(Resources, ButtonAndBoxFacesHaveTheSkinColours)
{
    const PixelCase cases[] = {
        // caption buttons: fill left and right of the caption, panel colour outside the
        // rounded corner
        {IDB_INSTALL_NORMAL, 10, 22, kAccent},
        {IDB_INSTALL_NORMAL, 150, 22, kAccent},
        {IDB_INSTALL_PRESSED, 10, 22, kAccent},
        {IDB_INSTALL_HOVER, 10, 22, kHoverBlue},
        {IDB_INSTALL_DISABLED, 10, 22, kDisabledGrey},
        {IDB_INSTALL_DISABLED, 150, 40, kDisabledGrey},
        {IDB_LAUNCH_NORMAL, 10, 22, kAccent},
        {IDB_LAUNCH_PRESSED, 150, 22, kAccent},
        {IDB_LAUNCH_HOVER, 10, 22, kHoverBlue},
        {IDB_INSTALL_NORMAL, 0, 0, kPanel},
        {IDB_LAUNCH_HOVER, 159, 44, kPanel},
        // close button: the cross stands on the panel colour
        {IDB_CLOSE_NORMAL, 0, 0, kPanel},
        {IDB_CLOSE_HOVER, 24, 23, kPanel},
        // browse button: panel colour outside its rounded square
        {IDB_BROWSE_NORMAL, 0, 0, kPanel},
        {IDB_BROWSE_HOVER, 0, 0, kPanel},
        // agreement box: blue square when checked, white with a grey outline when not
        {IDB_CHECK_CHECKED, 12, 5, kAccent},
        {IDB_CHECK_CHECKED, 0, 0, kPanel},
        {IDB_CHECK_UNCHECKED, 12, 12, kWhite},
        {IDB_CHECK_UNCHECKED, 12, 4, RGB(150, 150, 150)},
        {IDB_CHECK_UNCHECKED, 0, 0, kPanel},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " at " << c.x << "," << c.y);
        EXPECT_EQ(c.colour, BitmapPixel(c.id, c.x, c.y));
    }

    // the white captions and tick, the close button's cross
    for (UINT id :
         {IDB_INSTALL_NORMAL, IDB_INSTALL_HOVER, IDB_INSTALL_PRESSED, IDB_INSTALL_DISABLED,
          IDB_LAUNCH_NORMAL, IDB_LAUNCH_HOVER, IDB_LAUNCH_PRESSED, IDB_CHECK_CHECKED}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(HasPixel(id, kWhite));
    }
    EXPECT_EQ(RGB(126, 126, 126), DarkestPixel(IDB_CLOSE_NORMAL));
    EXPECT_EQ(RGB(41, 41, 41), DarkestPixel(IDB_CLOSE_HOVER));
    EXPECT_EQ(RGB(41, 41, 41), DarkestPixel(IDB_CLOSE_PRESSED));

    // the browse button's face is a little darker under the pointer
    auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_LT(sum(BitmapPixel(IDB_BROWSE_HOVER, 4, 26)),
              sum(BitmapPixel(IDB_BROWSE_NORMAL, 4, 26)));
}

// ---- PNG images ------------------------------------------------------------------------------

TEST(Resources, PngImagesHaveTheirSizesAndChannels)
{
    struct Case {
        UINT id;
        DWORD width, height;
        BYTE colourType;  // 2: RGB, 6: RGB with alpha
    } cases[] = {
        {IDP_BG_START, 700, 500, 6},
        {IDP_BG_PROGRESS, 700, 500, 2},
        {IDP_BG_FINISHED, 700, 500, 6},
        {IDP_OPEN_SAVE_PATH, 16, 16, 6},
    };
    const BYTE signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        // The type name is compared without regard to case, as the image holder looks it up.
        Bytes b = Resource("png", c.id);
        ASSERT_NE(nullptr, b.data);
        ASSERT_GT(b.size, 33u);
        EXPECT_EQ(0, std::memcmp(signature, b.data, sizeof signature));
        EXPECT_EQ(0, std::memcmp("IHDR", b.data + 12, 4));
        auto be32 = [&](int at) {
            return DWORD(b.data[at]) << 24 | DWORD(b.data[at + 1]) << 16 |
                   DWORD(b.data[at + 2]) << 8 | b.data[at + 3];
        };
        EXPECT_EQ(c.width, be32(16));
        EXPECT_EQ(c.height, be32(20));
        EXPECT_EQ(8, b.data[24]);
        EXPECT_EQ(c.colourType, b.data[25]);
        // not stored as a bitmap as well
        EXPECT_EQ(nullptr, Resource(RT_BITMAP, c.id).data);
    }
}

// A PNG resource decoded by GDI+, as the frame draws it.
class PngImage {
public:
    explicit PngImage(UINT id)
    {
        Bytes b = Resource("png", id);
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, b.size);
        std::memcpy(GlobalLock(mem), b.data, b.size);
        GlobalUnlock(mem);
        IStream* stream = nullptr;
        if (CreateStreamOnHGlobal(mem, TRUE, &stream) == S_OK) {
            Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &m_bitmap);
            stream->Release();
        }
    }
    ~PngImage()
    {
        if (m_bitmap) Gdiplus::DllExports::GdipDisposeImage(m_bitmap);
    }
    bool Loaded() const { return m_bitmap != nullptr; }
    Gdiplus::ARGB Pixel(int x, int y) const
    {
        Gdiplus::ARGB argb = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(m_bitmap, x, y, &argb);
        return argb;
    }

private:
    Gdiplus::GpBitmap* m_bitmap = nullptr;
};

class PngPixels : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&s_token, &input, nullptr));
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }
    static ULONG_PTR s_token;
};
ULONG_PTR PngPixels::s_token = 0;

Gdiplus::ARGB Opaque(COLORREF c)
{
    return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

TEST_F(PngPixels, BackgroundsHaveThePanelColourWhereControlsBlendIn)
{
    const PixelCase cases[] = {
        // start screen: panel behind the close button, the agreement line and the buttons;
        // white inside the frame around the install folder text (image 219..488, 451..475)
        {IDP_BG_START, 690, 8, kPanel},
        {IDP_BG_START, 220, 350, kPanel},
        {IDP_BG_START, 500, 350, kPanel},
        {IDP_BG_START, 350, 300, kPanel},
        {IDP_BG_START, 0, 499, kPanel},
        {IDP_BG_START, 219, 451, kWhite},
        {IDP_BG_START, 488, 475, kWhite},
        {IDP_BG_START, 350, 462, kWhite},
        // finished screen: panel behind the close and launch buttons
        {IDP_BG_FINISHED, 690, 8, kPanel},
        {IDP_BG_FINISHED, 350, 340, kPanel},
        {IDP_BG_FINISHED, 699, 0, kPanel},
    };
    PngImage start(IDP_BG_START), finished(IDP_BG_FINISHED), progress(IDP_BG_PROGRESS);
    ASSERT_TRUE(start.Loaded());
    ASSERT_TRUE(finished.Loaded());
    ASSERT_TRUE(progress.Loaded());
    EXPECT_TRUE(PngImage(IDP_OPEN_SAVE_PATH).Loaded());
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " at " << c.x << "," << c.y);
        const PngImage& png = c.id == IDP_BG_START ? start : finished;
        EXPECT_EQ(Opaque(c.colour), png.Pixel(c.x, c.y));
    }

    // the logo is blue on both screens that show it
    for (const PngImage* png : {&start, &finished}) {
        Gdiplus::ARGB logo = png->Pixel(346, 144);
        EXPECT_GT(logo & 0xFF, 220u);          // blue
        EXPECT_LT((logo >> 16) & 0xFF, 110u);  // little red
    }
    // the progress screen is light blue from corner to corner
    for (POINT p : {POINT{0, 0}, POINT{699, 0}, POINT{0, 499}, POINT{699, 499}}) {
        Gdiplus::ARGB c = progress.Pixel(p.x, p.y);
        const BYTE r = (c >> 16) & 0xFF, b = c & 0xFF;
        EXPECT_GE(b, 240) << p.x << "," << p.y;
        EXPECT_GE(r, 190) << p.x << "," << p.y;
        EXPECT_LT(r, b) << p.x << "," << p.y;
    }
}

// ---- icon, string, manifest, version ---------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconGroupHolds16_32And48PixelImagesOf32Bits)
{
    Bytes group = Resource(RT_GROUP_ICON, IDI_APP);
    ASSERT_NE(nullptr, group.data);
    ASSERT_EQ(0, Read<WORD>(group.data));      // reserved
    ASSERT_EQ(1, Read<WORD>(group.data + 2));  // icons
    ASSERT_EQ(3, Read<WORD>(group.data + 4));
    ASSERT_EQ(6 + 3 * sizeof(GroupIconEntry), group.size);
    const int sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sizes[i]);
        auto e = Read<GroupIconEntry>(group.data + 6 + i * sizeof(GroupIconEntry));
        EXPECT_EQ(sizes[i], e.width);
        EXPECT_EQ(sizes[i], e.height);
        EXPECT_EQ(1, e.planes);
        EXPECT_EQ(32, e.bitCount);
        Bytes image = Resource(RT_ICON, e.id);
        ASSERT_NE(nullptr, image.data);
        EXPECT_EQ(e.bytes, image.size);
        auto h = Read<BITMAPINFOHEADER>(image.data);
        EXPECT_EQ(sizes[i], h.biWidth);
        EXPECT_EQ(2 * sizes[i], h.biHeight);  // colour and mask
        EXPECT_EQ(32, h.biBitCount);

        HICON icon =
            static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP),
                                          IMAGE_ICON, sizes[i], sizes[i], 0));
        ASSERT_NE(nullptr, icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(sizes[i], bm.bmWidth);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, AboutStringReadsInCodePage936)
{
    char text[64] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text), 0);
    EXPECT_STREQ("关于 Installer(&A)...", text);
}

TEST(Resources, ManifestAsksForAdministratorAndDpiAwareness)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceExA(self, RT_MANIFEST, MAKEINTRESOURCEA(IDR_MANIFEST),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_NE(nullptr, res);
    const char* data = static_cast<const char*>(LockResource(LoadResource(self, res)));
    const std::string text(data, SizeofResource(self, res));

    EXPECT_NE(
        std::string::npos,
        text.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"));
    EXPECT_NE(std::string::npos,
              text.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                        "true</dpiAware>"));
    EXPECT_EQ(std::string::npos, text.find("Common-Controls"));
    EXPECT_EQ(std::string::npos, text.find("<dependency"));
    // the only manifest
    EXPECT_EQ(nullptr, FindResourceA(self, MAKEINTRESOURCEA(2), RT_MANIFEST));
}

TEST(Resources, VersionBlockReadsInCodePage936)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(5, 2), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(5, 2), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &len));
    ASSERT_EQ(4u, len);
    EXPECT_EQ(0x0804, translation[0]);  // Chinese (Simplified)
    EXPECT_EQ(936, translation[1]);

    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"CompanyName", "德拉沃归档助手"},     {"ProductName", "德拉沃归档助手"},
        {"FileDescription", "Installer"},      {"InternalName", "Installer.exe"},
        {"OriginalFilename", "Installer.exe"}, {"FileVersion", "2.5.0.0"},
        {"ProductVersion", "2.5.0.0"},
    };
    for (const auto& s : strings) {
        SCOPED_TRACE(s.key);
        const std::string query = std::string("\\StringFileInfo\\080403a8\\") + s.key;
        char* value = nullptr;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &len));
        EXPECT_STREQ(s.value, value);
    }
}

// ---- dialog template and its initialisation data ---------------------------------------------

// Reads an extended dialog template field by field.
class TemplateReader {
public:
    explicit TemplateReader(Bytes b) : m_begin(b.data), m_p(b.data), m_end(b.data + b.size) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    BYTE Byte() { return Take<BYTE>(); }
    // A string, or an ordinal (0xFFFF then the value), or nothing (a single 0).
    std::wstring SzOrOrd(WORD* ordinal = nullptr)
    {
        if (ordinal) *ordinal = 0;
        WORD first = Word();
        if (first == 0xFFFF) {
            WORD value = Word();
            if (ordinal) *ordinal = value;
            return {};
        }
        std::wstring s;
        for (WORD c = first; c != 0; c = Word()) s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword() { m_p = m_begin + ((m_p - m_begin + 3) & ~3); }
    void Skip(size_t n) { m_p += n; }
    bool AtEnd() const { return m_p >= m_end; }

private:
    template <typename T>
    T Take()
    {
        T v{};
        if (m_p + sizeof v <= m_end) v = Read<T>(m_p);
        m_p += sizeof v;
        return v;
    }
    const BYTE* m_begin;
    const BYTE* m_p;
    const BYTE* m_end;
};

struct ControlCase {
    DWORD id;
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;
    short x, y, cx, cy;
};

const ControlCase kControls[] = {
    {IDC_LAUNCH, L"Button", L"立即启动", 0x50010000, 143, 138, 57, 22},
    {IDC_PATH_FIELD, L"MfcEditBrowse", L"", 0x50810880, 59, 39, 208, 14},
    {IDC_PROGRESS, L"msctls_progress32", L"", 0x50800000, 17, 199, 280, 14},
    {IDC_INSTALL, L"Button", L"", 0x50010040, 175, 117, 50, 14},
    {IDC_CLOSE, L"Button", L"", 0x50010000, 332, 15, 19, 14},
    {IDC_AGREE, L"Button", L"我已阅读并同意德拉沃云", 0x50010003, 91, 155, 94, 10},
    {IDC_AGREEMENT_LINK, L"Button", L"用户许可协议", 0x50010000, 203, 170, 50, 14},
    {IDC_INSTALL_DIR, L"Edit", L"", 0x50010080, 63, 218, 185, 14},
    {IDC_BROWSE, L"Button", L"打开", 0x50010000, 262, 217, 44, 14},
};

// The resource compiler may store a predefined class as its ordinal; either form names the
// same class, and class names are compared without regard to case.
std::wstring ClassName(const std::wstring& name, WORD ordinal)
{
    switch (ordinal) {
        case 0x0080:
            return L"Button";
        case 0x0081:
            return L"Edit";
        case 0:
            return name;
        default:
            return L"#" + std::to_wstring(ordinal);
    }
}

TEST(Resources, DialogTemplateHasItsHeaderAndControlsInOrder)
{
    Bytes b = Resource(RT_DIALOG, IDD_INSTALLER);
    ASSERT_NE(nullptr, b.data);
    TemplateReader r(b);
    EXPECT_EQ(1, r.Word());       // version
    EXPECT_EQ(0xFFFF, r.Word());  // extended template
    EXPECT_EQ(0u, r.Dword());     // help id
    EXPECT_EQ(0x00040000u, r.Dword());
    EXPECT_EQ(0x90CC0048u, r.Dword());
    ASSERT_EQ(9, r.Word());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(700, r.Short());
    EXPECT_EQ(500, r.Short());
    WORD ordinal = 0;
    EXPECT_EQ(L"", r.SzOrOrd(&ordinal));  // no menu
    EXPECT_EQ(0, ordinal);
    EXPECT_EQ(L"", r.SzOrOrd(&ordinal));  // the system's dialog class
    EXPECT_EQ(0, ordinal);
    EXPECT_EQ(L"安装", r.SzOrOrd());
    EXPECT_EQ(9, r.Word());  // points
    EXPECT_EQ(0, r.Word());  // weight
    EXPECT_EQ(0, r.Byte());  // italic
    EXPECT_EQ(1, r.Byte());  // character set
    EXPECT_EQ(L"MS Shell Dlg", r.SzOrOrd());

    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.id);
        r.AlignDword();
        EXPECT_EQ(0u, r.Dword());  // help id
        EXPECT_EQ(0u, r.Dword());  // extended style
        EXPECT_EQ(c.style, r.Dword());
        EXPECT_EQ(c.x, r.Short());
        EXPECT_EQ(c.y, r.Short());
        EXPECT_EQ(c.cx, r.Short());
        EXPECT_EQ(c.cy, r.Short());
        EXPECT_EQ(c.id, r.Dword());
        std::wstring name = r.SzOrOrd(&ordinal);
        EXPECT_EQ(0, lstrcmpiW(c.windowClass, ClassName(name, ordinal).c_str()))
            << "class of " << c.id;
        EXPECT_EQ(c.text, r.SzOrOrd(&ordinal));
        EXPECT_EQ(0, ordinal);
        WORD extra = r.Word();
        EXPECT_EQ(0, extra);
        r.Skip(extra);
    }
    r.AlignDword();
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, DialogInitialisationDataPutsThePathFieldIntoFolderMode)
{
    Bytes b = Resource(MAKEINTRESOURCEA(RT_DLGINIT_TYPE), IDD_INSTALLER);
    ASSERT_NE(nullptr, b.data);
    const char mode[] = "<MFCEditBrowse_Mode>2</MFCEditBrowse_Mode>";
    const DWORD length = sizeof mode - 1;  // the byte count delimits it: no terminating NUL
    ASSERT_EQ(2 + 2 + 4 + length + 2, b.size);
    EXPECT_EQ(IDC_PATH_FIELD, Read<WORD>(b.data));
    EXPECT_EQ(WM_EDITBROWSE_INIT, Read<WORD>(b.data + 2));
    EXPECT_EQ(length, Read<DWORD>(b.data + 4));
    EXPECT_EQ(std::string(mode), std::string(reinterpret_cast<const char*>(b.data + 8), length));
    EXPECT_EQ(0, Read<WORD>(b.data + 8 + length));  // end of the records
}

// The template makes a real dialog: every class it names resolves, the texts arrive in code
// page 936, and the rectangles are the template's dialog units.
LRESULT CALLBACK PlainWindow(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK KeepDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST(Resources, DialogTemplateCreatesTheDialogWithItsControls)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    // The path field's class belongs to the framework; a plain stand-in is enough here.
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWindow;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MfcEditBrowse";
    RegisterClassA(&wc);

    HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INSTALLER),
                                  nullptr, KeepDialog, 0);
    ASSERT_NE(nullptr, dlg) << GetLastError();
    char text[64] = {};
    GetWindowTextA(dlg, text, sizeof text);
    EXPECT_STREQ("安装", text);

    const struct {
        int id;
        const char* windowClass;
        const char* text;
    } expected[] = {
        {IDC_LAUNCH, "Button", "立即启动"},
        {IDC_PATH_FIELD, "MfcEditBrowse", ""},
        {IDC_PROGRESS, "msctls_progress32", ""},
        {IDC_AGREE, "Button", "我已阅读并同意德拉沃云"},
        {IDC_AGREEMENT_LINK, "Button", "用户许可协议"},
        {IDC_INSTALL_DIR, "Edit", ""},
        {IDC_BROWSE, "Button", "打开"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.id);
        HWND item = GetDlgItem(dlg, e.id);
        ASSERT_NE(nullptr, item);
        char name[64] = {};
        GetClassNameA(item, name, sizeof name);
        EXPECT_EQ(0, lstrcmpiA(e.windowClass, name)) << name;
        GetWindowTextA(item, text, sizeof text);
        EXPECT_STREQ(e.text, text);
    }
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.id);
        // Position and size are converted separately, as the dialog manager does.
        RECT units{c.x, c.y, c.cx, c.cy};
        MapDialogRect(dlg, &units);
        RECT actual{};
        GetWindowRect(GetDlgItem(dlg, c.id), &actual);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(units.left, actual.left);
        EXPECT_EQ(units.top, actual.top);
        EXPECT_EQ(units.right, actual.right - actual.left);
        EXPECT_EQ(units.bottom, actual.bottom - actual.top);
    }
    DestroyWindow(dlg);
    UnregisterClassA("MfcEditBrowse", GetModuleHandleA(nullptr));
}

}  // namespace
