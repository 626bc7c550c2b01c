#include "tools/pack/Runtimes.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string RuntimesFolder(const std::string& toolPath) {
    fs::path bin = fs::path(toolPath).parent_path();
    fs::path built = bin / "runtimes";
    fs::path installed = bin.parent_path() / "share" / "velmora" / "runtimes";
    std::error_code error;
    if (!fs::is_directory(built, error) && fs::is_directory(installed, error))
        return installed.lexically_normal().string();
    return built.lexically_normal().string();
}

std::string OwnPath(const char* argv0) {
    std::error_code error;
    fs::path own = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::absolute(argv0, error).string() : own.string();
}
