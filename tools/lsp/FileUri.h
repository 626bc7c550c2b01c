#pragma once

#include <string>

// A "file:" URI and the path it names on this platform, one file per
// platform: FileUriPosix.cpp, FileUriWindows.cpp. Paths keep '/' as their
// separator where the URI has it, as the game's own paths do. Any thread.

// The path a "file:" URI names; "" for another scheme or no path.
std::string PathFromUri(const std::string& uri);

// The "file:" URI of a path.
std::string UriFromPath(const std::string& path);

// The URI's parts either platform reads alike: its percent escapes, decoded
// and made.
namespace file_uri {

// The host between "file://" and the path's '/', and the path, still
// escaped; false when the URI is not a file's.
bool Split(const std::string& uri, std::string& host, std::string& path);

std::string PercentDecode(const std::string& text);

// Every byte but letters, digits, "-._~" and '/' escaped.
std::string PercentEncode(const std::string& path);

}  // namespace file_uri
