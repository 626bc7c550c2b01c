#include "tools/lsp/FrameWalker.h"

#include <fstream>
#include <sstream>

#include "core/Exception.h"
#include "core/Log.h"
#include "tools/lsp/DocumentCheck.h"
#include "tools/storyboard/Storyboard.h"

namespace fs = std::filesystem;

namespace {

// A file the walk wrote; "" when it did not.
std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "";
}

}  // namespace

FrameWalker::FrameWalker(fs::path folder, DocumentCheck& check)
    : folder(std::move(folder)), check(check), thread([this] { Run(); }) {}

FrameWalker::~FrameWalker() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        quitting = true;
        cancel = true;
    }
    wake.notify_one();
    thread.join();
}

int FrameWalker::Walks() const {
    std::lock_guard<std::mutex> lock(mutex);
    return wholeWalks;
}

void FrameWalker::Give(Answers& answers) {
    for (auto& [read, result] : answers)
        read(result.get());
}

void FrameWalker::FrameAt(const std::string& gameFolder, const std::string& scriptBytes,
                          int gameLine, Answer answer) {
    WalkOf(gameFolder, scriptBytes, [gameLine, answer = std::move(answer)](const Walked* walked) {
        if (!walked) return answer(std::nullopt);
        auto found = walked->frameOfLine.find(gameLine);
        answer(found == walked->frameOfLine.end() ? "" : found->second);
    });
}

void FrameWalker::WalkOf(const std::string& gameFolder, const std::string& scriptBytes,
                         Reader read) {
    std::unique_lock<std::mutex> lock(mutex);
    auto is = [&](const std::optional<Job>& job) {
        return job && job->folder == gameFolder && job->script == scriptBytes;
    };
    if (is(walked) && !is(running) && !is(queued)) {
        Result result = walkedResult;  // stays while read reads it
        lock.unlock();
        return read(result.get());
    }
    if (!is(running) && !is(queued)) {
        queued = Job{++jobs, gameFolder, scriptBytes};
        if (running) cancel = true;
        wake.notify_one();
    }
    questions.push_back({is(queued) ? queued->id : running->id, std::move(read)});
}

void FrameWalker::KeepOnly(const std::string& scriptBytes) {
    Answers stale;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (running && running->script != scriptBytes) cancel = true;
        if (!queued || queued->script == scriptBytes) return;
        unsigned id = queued->id;
        queued.reset();
        for (auto it = questions.begin(); it != questions.end();) {
            if (it->job != id) {
                ++it;
                continue;
            }
            stale.emplace_back(std::move(it->read), nullptr);
            it = questions.erase(it);
        }
    }
    Give(stale);
}

void FrameWalker::Run() {
    FatalErrorTrap trap;  // a fault of the game's ends its walk, not the server
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return quitting || queued; });
        if (quitting) return;
        Job job = *queued;
        running = std::move(queued);
        queued.reset();
        cancel = false;
        lock.unlock();
        fs::path frames = folder / ("frames-" + std::to_string(job.id));
        auto result = std::make_shared<Walked>();
        bool whole = Walk(job, frames, *result);
        Finish(job, whole, std::move(frames), std::move(result));
        lock.lock();
    }
}

bool FrameWalker::Walk(const Job& job, const fs::path& frames, Walked& result) {
    std::error_code error;
    fs::create_directories(frames, error);
    std::string script = (frames / "script.txt").string();
    std::ofstream(script, std::ios::binary).write(job.script.data(), job.script.size());
    StoryboardOptions options;
    options.outDir = frames.string();
    options.scriptPath = script;
    options.onFrame = [&](int line, const std::string& file) {
        result.frameOfLine.emplace(line, (frames / file).string());  // the first time only
    };
    options.stop = [this] { return cancel.load(); };
    std::unique_lock<std::mutex> stage = check.LockStage();
    check.Release();  // the walk needs the stage's fonts and scene
    InFolder here(job.folder);
    if (!here.Entered()) return !cancel;
    LogRedirect dropped([](const char*) {});  // what the game would log is not the editor's
    std::ostringstream report, progress;
    try {
        MakeStoryboard(options, report, progress);
    } catch (const Exception&) {
        // the frames drawn before the failure stand
    }
    result.mapJson = Contents(frames / "story-map.json");
    result.mapSvg = Contents(frames / "story-map.svg");
    return !cancel;
}

void FrameWalker::Finish(const Job& job, bool whole, fs::path frames, Result result) {
    std::error_code error;
    Answers answers;
    {
        std::lock_guard<std::mutex> lock(mutex);
        running.reset();
        if (whole) {
            std::swap(frames, walkedFrames);  // the old frames go below
            walked = job;
            walkedResult = std::move(result);
            ++wholeWalks;
        }
        answers = Settle(job.id, whole);
    }
    if (!frames.empty()) fs::remove_all(frames, error);
    Give(answers);
}

// Answers the questions about the finished job and those about any version
// older than the one queued next.
FrameWalker::Answers FrameWalker::Settle(unsigned finished, bool whole) {
    Answers answers;
    for (auto it = questions.begin(); it != questions.end();) {
        if (queued && it->job == queued->id) {
            ++it;
            continue;
        }
        Result result = whole && it->job == finished ? walkedResult : nullptr;
        answers.emplace_back(std::move(it->read), std::move(result));
        it = questions.erase(it);
    }
    return answers;
}
