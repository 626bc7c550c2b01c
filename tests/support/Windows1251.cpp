#include "tests/support/Windows1251.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace testing_support {

namespace {
const char kNotConvertible[] = "(not convertible)";
}

#ifdef _WIN32

std::string Utf8ToWindows1251(const std::string& utf8) {
    if (utf8.empty()) return "";
    int size = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size,
                                         wide.data(), size);
    if (wideLength <= 0) return kNotConvertible;
    std::string out(utf8.size(), '\0');
    BOOL lost = FALSE;
    int length = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                     out.data(), size, nullptr, &lost);
    if (length <= 0 || lost) return kNotConvertible;
    out.resize(static_cast<size_t>(length));
    return out;
}

#else

std::string Utf8ToWindows1251(const std::string& utf8) {
    iconv_t convert = iconv_open("WINDOWS-1251", "UTF-8");
    std::string in = utf8, out(utf8.size(), '\0');
    char* inPointer = in.data();
    char* outPointer = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    size_t converted = iconv(convert, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(convert);
    if (converted == static_cast<size_t>(-1)) return kNotConvertible;
    out.resize(out.size() - outLeft);
    return out;
}

#endif

}  // namespace testing_support
