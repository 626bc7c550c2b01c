#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tools/pack/Pack.h"
#include "tools/pack/PackageName.h"
#include "tools/pack/Runtimes.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

struct Stored {
    int mode;  // permission bits
    std::string bytes;
};

// An archive read back with libarchive: every entry by path, folders with a
// trailing "/".
std::map<std::string, Stored> ReadArchive(const std::string& path) {
    std::map<std::string, Stored> entries;
    archive* reader = archive_read_new();
    archive_read_support_format_all(reader);
    archive_read_support_filter_all(reader);
    EXPECT_EQ(archive_read_open_filename(reader, path.c_str(), 65536), ARCHIVE_OK) << path;
    archive_entry* entry;
    while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        Stored& stored = entries[archive_entry_pathname(entry)];
        stored.mode = archive_entry_perm(entry);
        std::string bytes(static_cast<size_t>(archive_entry_size(entry)), '\0');
        if (!bytes.empty()) archive_read_data(reader, bytes.data(), bytes.size());
        stored.bytes = bytes;
    }
    archive_read_free(reader);
    return entries;
}

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> Paths(const std::map<std::string, Stored>& entries,
                               const std::string& prefix) {
    std::vector<std::string> paths;
    for (const auto& [path, stored] : entries)
        if (path.compare(0, prefix.size(), prefix) == 0) paths.push_back(path);
    return paths;
}

// The demo, copied, packed from runtimes made of a few small stand-in files.
class PackTest : public testing_support::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        game = directory + "/demo";
        fs::create_directories(game);
        fs::copy(VELMORA_DEMO "/data", game + "/data", fs::copy_options::recursive);
        WriteFile(game + "/velmora.settings", "EnableSound=0\n");
        options.game = game;
        options.runtimes = directory + "/runtimes";
        WriteFile(options.runtimes + "/linux-x64/velmora", "linux program");
        WriteFile(options.runtimes + "/linux-x64/lib/libSDL-1.2.so.0", "linux SDL");
        WriteFile(options.runtimes + "/linux-x64/licenses/libsdl1.2.txt", "SDL licence");
        WriteFile(options.runtimes + "/windows-x64/velmora.exe", "windows program");
        WriteFile(options.runtimes + "/windows-x64/velmora-lsp.exe", "language server");
        WriteFile(options.runtimes + "/windows-x64/SDL.dll", "windows SDL");
        WriteFile(options.runtimes + "/windows-x64/velmora-check.exe", "not for players");
        WriteFile(options.runtimes + "/windows-x64/licenses/SDL.txt", "SDL licence");
        for (const char* file : {"index.html", "velmora.js", "velmora.wasm", "velmora.worker.js"})
            WriteFile(options.runtimes + "/web/" + file, std::string("web ") + file);
        WriteFile(options.runtimes + "/web/licenses/zlib/copyright", "zlib licence");
    }

    int Run() {
        out.str("");
        err.str("");
        return Pack(options, out, err);
    }

    std::string Dist() const { return game + "/dist/"; }
    std::map<std::string, Stored> Linux() { return ReadArchive(Dist() + "demo-linux-x64.tar.gz"); }
    std::map<std::string, Stored> Windows() { return ReadArchive(Dist() + "demo-windows-x64.zip"); }
    std::map<std::string, Stored> Web() { return ReadArchive(Dist() + "demo-web.zip"); }
    // The game's files inside the web zip, read back as the page reads them.
    std::map<std::string, Stored> WebGame() {
        WriteFile(directory + "/game.tar", Web()["game.tar"].bytes);
        return ReadArchive(directory + "/game.tar");
    }

    // What the output folder holds, temporary files included.
    std::vector<std::string> Written(const std::string& folder) {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // The game's data/ as its files lie on disk, under prefix.
    std::vector<std::string> DataFiles(const std::string& prefix) {
        std::vector<std::string> paths{prefix + "data/"};
        for (const auto& entry : fs::recursive_directory_iterator(game + "/data")) {
            std::string relative = fs::relative(entry.path(), game).string();
            paths.push_back(prefix + relative + (entry.is_directory() ? "/" : ""));
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    std::string game;
    PackOptions options;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(PackTest, PackagesHoldTheProgramsTheGameAndNothingElse) {
    WriteFile(game + "/notes.txt", "the author's own");
    WriteFile(game + "/velmora.log", "an old log");
    ASSERT_EQ(Run(), kPacked) << err.str();
    auto linux = Linux();
    std::vector<std::string> expected = DataFiles("demo/");
    for (const char* own :
         {"demo/", "demo/demo", "demo/demo.bin", "demo/lib/", "demo/lib/libSDL-1.2.so.0",
          "demo/licenses/", "demo/licenses/libsdl1.2.txt", "demo/velmora.settings"})
        expected.push_back(own);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Paths(linux, ""), expected);
    EXPECT_EQ(linux["demo/demo.bin"].bytes, "linux program");
    EXPECT_EQ(linux["demo/data/fnt/font.ttf"].bytes, ReadFile(game + "/data/fnt/font.ttf"));
    EXPECT_EQ(linux["demo/velmora.settings"].bytes, "EnableSound=0\n");

    auto windows = Windows();
    expected = DataFiles("");
    for (const char* own : {"demo.exe", "velmora-lsp.exe", "SDL.dll", "licenses/",
                            "licenses/SDL.txt", "velmora.settings"})
        expected.push_back(own);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Paths(windows, ""), expected);
    EXPECT_EQ(windows["demo.exe"].bytes, "windows program");
    EXPECT_EQ(windows["velmora-lsp.exe"].bytes, "language server");
    EXPECT_EQ(windows["data/scenario/main.txt"].bytes, ReadFile(game + "/data/scenario/main.txt"));
    EXPECT_NE(out.str().find(Dist() + "demo-linux-x64.tar.gz ("), std::string::npos) << out.str();
}

TEST_F(PackTest, TheWebZipHoldsThePageTheRuntimeAndTheGameAsOneArchive) {
    WriteFile(game + "/velmora.log", "an old log");
    ASSERT_EQ(Run(), kPacked) << err.str();
    auto web = Web();
    EXPECT_EQ(Paths(web, ""),
              (std::vector<std::string>{"game.tar", "index.html", "licenses/", "licenses/zlib/",
                                        "licenses/zlib/copyright", "velmora.js", "velmora.wasm",
                                        "velmora.worker.js"}));
    EXPECT_EQ(web["velmora.wasm"].bytes, "web velmora.wasm");
    EXPECT_EQ(web["index.html"].mode, 0644);
    // A plain ustar archive (the page unpacks it itself), not compressed.
    EXPECT_EQ(web["game.tar"].bytes.substr(257, 5), "ustar");
    auto files = WebGame();
    std::vector<std::string> expected = DataFiles("");
    expected.push_back("velmora.settings");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Paths(files, ""), expected);
    EXPECT_EQ(files["data/gfx/pier.png"].bytes, ReadFile(game + "/data/gfx/pier.png"));
    EXPECT_EQ(files["velmora.settings"].bytes, "EnableSound=0\n");
    // Nothing but the three packages is left in the output folder.
    auto written = Written(Dist());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"demo-linux-x64.tar.gz", "demo-web.zip",
                                                 "demo-windows-x64.zip"}));
    EXPECT_NE(out.str().find(Dist() + "demo-web.zip ("), std::string::npos) << out.str();
}

TEST_F(PackTest, ProgramsAndTheStartScriptAreExecutableAndTheRestIsNot) {
    ASSERT_EQ(Run(), kPacked) << err.str();
    auto linux = Linux();
    EXPECT_EQ(linux["demo/demo"].mode, 0755);
    EXPECT_EQ(linux["demo/demo.bin"].mode, 0755);
    EXPECT_EQ(linux["demo/lib/"].mode, 0755);
    EXPECT_EQ(linux["demo/lib/libSDL-1.2.so.0"].mode, 0644);
    EXPECT_EQ(linux["demo/data/scenario/main.txt"].mode, 0644);
    EXPECT_EQ(Windows()["demo.exe"].mode, 0755);
    EXPECT_EQ(Windows()["velmora-lsp.exe"].mode, 0755);
    // The script starts the program from its own folder, where data/ is.
    const std::string& script = linux["demo/demo"].bytes;
    EXPECT_EQ(script.rfind("#!/bin/sh\n", 0), 0u);
    EXPECT_NE(script.find("cd \"$(dirname \"$0\")\""), std::string::npos) << script;
    EXPECT_NE(script.find("exec ./demo.bin"), std::string::npos) << script;
}

TEST_F(PackTest, DotFilesAreLeftOut) {
    WriteFile(game + "/data/.thumbs", "x");
    WriteFile(game + "/data/gfx/.git/config", "x");
    ASSERT_EQ(Run(), kPacked) << err.str();
    for (const auto& entries : {Linux(), Windows(), Web(), WebGame()})
        for (const auto& [path, stored] : entries)
            EXPECT_EQ(path.find("/."), std::string::npos) << path;
}

TEST_F(PackTest, SettingsAreMadeWithTheDefaultsWhenTheGameHasNone) {
    fs::remove(game + "/velmora.settings");
    ASSERT_EQ(Run(), kPacked) << err.str();
    EXPECT_EQ(Linux()["demo/velmora.settings"].bytes, "EnableSound=1\nFullscreen=0\n");
    EXPECT_EQ(Windows()["velmora.settings"].bytes, "EnableSound=1\nFullscreen=0\n");
    EXPECT_EQ(WebGame()["velmora.settings"].bytes, "EnableSound=1\nFullscreen=0\n");
    EXPECT_FALSE(fs::exists(game + "/velmora.settings"));  // the game's folder is not changed
}

TEST_F(PackTest, TwoRunsGiveTheSameBytes) {
    ASSERT_EQ(Run(), kPacked) << err.str();
    std::string zip = ReadFile(Dist() + "demo-windows-x64.zip");
    std::string tar = ReadFile(Dist() + "demo-linux-x64.tar.gz");
    std::string web = ReadFile(Dist() + "demo-web.zip");
    // Files touched since, and the folder read in another order, change nothing.
    fs::last_write_time(game + "/data/menubg.png", fs::file_time_type::clock::now());
    fs::rename(game + "/data/gfx", game + "/data/gfx2");
    fs::rename(game + "/data/gfx2", game + "/data/gfx");
    ASSERT_EQ(Run(), kPacked) << err.str();
    EXPECT_TRUE(ReadFile(Dist() + "demo-windows-x64.zip") == zip);
    EXPECT_TRUE(ReadFile(Dist() + "demo-linux-x64.tar.gz") == tar);
    EXPECT_TRUE(ReadFile(Dist() + "demo-web.zip") == web);
    // gzip's own header keeps no time either (bytes 4-7).
    EXPECT_EQ(tar.substr(4, 4), std::string(4, '\0'));
}

TEST_F(PackTest, AGameWithAnErrorIsNotPackedUnlessForced) {
    WriteFile(game + "/data/scenario/main.txt", "goto nowhere\n");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(out.str().find("data/scenario/main.txt:1: error: Undefined label nowhere"),
              std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("nothing packed"), std::string::npos) << err.str();
    EXPECT_TRUE(Written(Dist()).empty());

    options.force = true;
    EXPECT_EQ(Run(), kPacked) << err.str();
    EXPECT_NE(err.str().find("--force"), std::string::npos) << err.str();
    EXPECT_EQ(Linux()["demo/data/scenario/main.txt"].bytes, "goto nowhere\n");
}

TEST_F(PackTest, WhatIsNotAGameIsStatusTwoInOneLine) {
    options.game = directory + "/runtimes";
    EXPECT_EQ(Run(), kNoGame);
    EXPECT_EQ(Lines(err.str()), 1) << err.str();
    options.game = directory + "/nowhere";
    EXPECT_EQ(Run(), kNoGame);
}

// Every failure after the check: one line, status 1, and no package under
// its final name, nor a temporary one left behind.
TEST_F(PackTest, FailuresLeaveNoPackageBehind) {
    WriteFile(directory + "/file", "");
    options.outDir = directory + "/file/dist";
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("cannot write into"), std::string::npos) << err.str();

    options.outDir = directory + "/out";
    fs::create_symlink("nowhere.png", game + "/data/gfx/lost.png");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("lost.png"), std::string::npos) << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});
    fs::remove(game + "/data/gfx/lost.png");

    fs::create_directory_symlink("..", game + "/data/gfx/loop");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("loop: a link to a folder"), std::string::npos) << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});
    fs::remove(game + "/data/gfx/loop");

    // The web runtime is looked for once the game's files are archived.
    fs::remove(options.runtimes + "/web/velmora.wasm");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("velmora.wasm"), std::string::npos) << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});

    // A Windows runtime made before it held the language server.
    fs::remove(options.runtimes + "/windows-x64/velmora-lsp.exe");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("velmora-lsp.exe: run scripts/runtimes.sh"), std::string::npos)
        << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});

    fs::remove_all(options.runtimes + "/linux-x64");
    EXPECT_EQ(Run(), kNotPacked);
    EXPECT_NE(err.str().find("scripts/runtimes.sh"), std::string::npos) << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});
    EXPECT_EQ(Lines(err.str()), 1) << err.str();
}

// A file size limit stands for a full disk: the write fails part-way.
TEST_F(PackTest, AFullDiskLeavesNoPackageBehind) {
    options.outDir = directory + "/out";
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100000;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    int status = Run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(status, kNotPacked);
    EXPECT_NE(err.str().find("File too large"), std::string::npos) << err.str();
    EXPECT_EQ(Written(options.outDir), std::vector<std::string>{});
}

TEST_F(PackTest, AnOutputFolderInsideDataIsNotPackedIntoItself) {
    options.outDir = game + "/data/dist";
    ASSERT_EQ(Run(), kPacked) << err.str();
    ASSERT_EQ(Run(), kPacked) << err.str();
    EXPECT_TRUE(
        Paths(ReadArchive(options.outDir + "/demo-linux-x64.tar.gz"), "demo/data/dist").empty());
}

TEST_F(PackTest, TheNameComesFromTheFolderMadeSafe) {
    fs::rename(game, directory + "/The Lamp: part 1");
    options.game = directory + "/The Lamp: part 1";
    ASSERT_EQ(Run(), kPacked) << err.str();
    auto linux = ReadArchive(options.game + "/dist/The-Lamp-part-1-linux-x64.tar.gz");
    EXPECT_EQ(linux["The-Lamp-part-1/The-Lamp-part-1"].mode, 0755);
    EXPECT_TRUE(fs::exists(options.game + "/dist/The-Lamp-part-1-windows-x64.zip"));

    options.name = "Data";  // would stand beside data/
    EXPECT_EQ(Run(), kNoGame);
}

TEST(PackageName, IsSafeOnEverySystem) {
    EXPECT_EQ(SafePackageName("lamp_2.0-final"), "lamp_2.0-final");
    EXPECT_EQ(SafePackageName("my  game!"), "my-game");
    EXPECT_EQ(SafePackageName("..hidden"), "hidden");
    EXPECT_EQ(SafePackageName("--force"), "force");
    EXPECT_EQ(SafePackageName("a\\b/c"), "a-b-c");
    EXPECT_EQ(SafePackageName("trailing."), "trailing");
    EXPECT_EQ(SafePackageName("\xD0\x9F\xD0\xB8"), "game");
    EXPECT_EQ(SafePackageName(""), "game");
}

TEST(Runtimes, AreFoundInTheBuildTreeOrWhereTheyAreInstalled) {
    std::string root = fs::temp_directory_path() / ("runtimes-" + std::to_string(getpid()));
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/share/velmora/runtimes");
    EXPECT_EQ(RuntimesFolder(root + "/bin/velmora-pack"), root + "/share/velmora/runtimes");
    fs::create_directories(root + "/bin/runtimes");
    EXPECT_EQ(RuntimesFolder(root + "/bin/velmora-pack"), root + "/bin/runtimes");
    fs::remove_all(root);
}

}  // namespace
