// japanese_font.cpp: finding a Japanese gothic face among the installed ones.
#include "japanese_font.h"

#include <array>
#include <set>

namespace front::win32 {

namespace {

// MS Gothic comes with every Japanese Windows; IPAGothic is what a Wine
// prefix is given; Meiryo and Yu Gothic are proportional but always there
// on a recent Windows.
constexpr std::array<const wchar_t*, 6> kFaces = {L"MS Gothic",    L"IPAGothic", L"TakaoGothic",
                                                  L"MS UI Gothic", L"Meiryo",    L"Yu Gothic"};

int CALLBACK collect(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM into) {
    reinterpret_cast<std::set<std::wstring>*>(into)->insert(font->lfFaceName);
    return 1;
}

std::wstring findFace() {
    std::set<std::wstring> installed;
    HDC screen = GetDC(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &wanted, collect, reinterpret_cast<LPARAM>(&installed), 0);
    ReleaseDC(nullptr, screen);
    for (const wchar_t* face : kFaces) {
        if (installed.contains(face)) {
            return face;
        }
    }
    return {};
}

} // namespace

const std::wstring& japaneseFace() {
    static const std::wstring face = findFace();
    return face;
}

HFONT createFormFont(int emPixels, bool bold) {
    LOGFONTW font{};
    font.lfHeight = -emPixels; // negative: the character height, without internal leading
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    font.lfOutPrecision = OUT_TT_PRECIS;
    const std::wstring& face = japaneseFace();
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

} // namespace front::win32
