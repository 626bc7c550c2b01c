#pragma once

namespace testing_support {

// The TrueType font the tests draw with (Debian's fonts-dejavu-core).
inline constexpr char kTestFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

}  // namespace testing_support
