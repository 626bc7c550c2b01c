#pragma once

#include <filesystem>
#include <string>

// A game for the tools' benchmarks: a script of n lines, three in four naming
// a picture or a voice clip out of a few dozen files, the way a long story
// reuses its backgrounds, characters and voices.
namespace bench_game {

std::string Script(int lines);

// A game of n script lines in a temporary folder, which becomes the working
// directory while it lives.
class TemporaryGame {
public:
    explicit TemporaryGame(int lines);
    ~TemporaryGame();
    TemporaryGame(const TemporaryGame&) = delete;
    TemporaryGame& operator=(const TemporaryGame&) = delete;
    const std::string& Folder() const { return directory; }

private:
    std::string directory;
    std::filesystem::path previous;
};

}  // namespace bench_game
