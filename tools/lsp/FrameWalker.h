#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class DocumentCheck;

// The frame the player sees at each line that waits (say, menu, delay),
// drawn by the storyboard's walk of one version of a game's script, as a
// PNG, and the story map that walk drew. The walk runs on a thread of its own, so that the server
// answers everything else meanwhile; questions about the version being walked are answered when its
// walk ends, later ones about that version at once. A new version's walk replaces the old frames; a
// walk that an edit made stale is given up. The walk holds the stage (DocumentCheck::LockStage)
// while it runs. Public methods: the message loop's thread; answers come on that thread or the
// walker's.
class FrameWalker {
public:
    // The frame's PNG, "" when the walk never gets there; nothing when the
    // version was given up for a newer one before its walk got there.
    using Answer = std::function<void(const std::optional<std::string>& png)>;
    // What a whole walk of one version left.
    struct Walked {
        std::map<int, std::string> frameOfLine;  // game line -> PNG path
        std::string mapJson, mapSvg;             // "" in a build without the map
    };
    // The walk of the version; null when it was given up for a newer one.
    using Reader = std::function<void(const Walked* walked)>;

    FrameWalker(std::filesystem::path folder, DocumentCheck& check);
    ~FrameWalker();  // gives up a walk that runs and waits for it
    FrameWalker(const FrameWalker&) = delete;
    FrameWalker& operator=(const FrameWalker&) = delete;

    // The frame at the game's line gameLine of the script scriptBytes in the
    // game at gameFolder.
    void FrameAt(const std::string& gameFolder, const std::string& scriptBytes, int gameLine,
                 Answer answer);
    // The walk of the script scriptBytes in the game at gameFolder, shared
    // with the frames' questions about that version.
    void WalkOf(const std::string& gameFolder, const std::string& scriptBytes, Reader read);
    // A walk of any other script is stale: it stops, its questions get nothing.
    void KeepOnly(const std::string& scriptBytes);

    // The number of walks that ran to their end, for tests.
    int Walks() const;

private:
    struct Job {
        unsigned id;
        std::string folder;
        std::string script;
    };
    struct Question {
        unsigned job;
        Reader read;
    };
    using Result = std::shared_ptr<const Walked>;
    using Answers = std::vector<std::pair<Reader, Result>>;

    void Run();
    bool Walk(const Job& job, const std::filesystem::path& frames, Walked& result);
    void Finish(const Job& job, bool whole, std::filesystem::path frames, Result result);
    Answers Settle(unsigned finished, bool whole);
    static void Give(Answers& answers);

    std::filesystem::path folder;
    DocumentCheck& check;

    mutable std::mutex mutex;  // guards what follows
    std::condition_variable wake;
    std::optional<Job> queued, running;
    std::optional<Job> walked;  // the version whose frames are kept
    std::filesystem::path walkedFrames;
    Result walkedResult;  // of walked
    std::vector<Question> questions;
    unsigned jobs = 0;
    int wholeWalks = 0;
    bool quitting = false;

    std::atomic<bool> cancel{false};
    std::thread thread;  // last: starts when the rest is ready
};
