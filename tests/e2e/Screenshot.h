#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A picture of a window or the whole screen, taken with xwd and decoded from
// its XWD file: pixels as 0xRRGGBB.
class Screenshot {
public:
    // Takes the picture of window windowId ("" for the root window).
    static Screenshot Take(const std::string& display, const std::string& windowId = "");
    static Screenshot Decode(const std::string& xwdBytes);

    int Width() const { return width; }
    int Height() const { return height; }
    uint32_t Pixel(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }
    bool operator==(const Screenshot& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
    bool operator!=(const Screenshot& other) const { return !(*this == other); }

private:
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

}  // namespace e2e
