#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/check/Findings.h"
#include "tools/lsp/DocumentPlace.h"

class GameCheck;
class Scenario;

// Checks an editor's script with velmora-check's own checks: a game's script
// as the game's folder is checked, with the editor's bytes in place of the
// file on disk; any other script alone. The bytes are written to a file in
// the server's scratch folder for the game's own reader. The game's start-up
// files are checked again when one of them changes; the pictures and voices
// the script names when they change. Owns the stage's fonts while a game's
// check is kept. It changes the working directory while it checks and puts
// it back. The game's stage (fonts, scene, picture cache, the working
// directory) serves one check or one storyboard walk at a time: Check holds
// LockStage's lock, a walk on another thread holds it too.
class DocumentCheck {
public:
    explicit DocumentCheck(std::filesystem::path scratch);
    ~DocumentCheck();
    DocumentCheck(const DocumentCheck&) = delete;
    DocumentCheck& operator=(const DocumentCheck&) = delete;

    // The script as the game compiles it is left in compiled (a Scenario
    // with nothing registered), for the features.
    std::vector<Finding> Check(const DocumentPlace& place, const std::string& scriptBytes,
                               Scenario& compiled);
    // Lets the stage go (for a storyboard walk); the next check starts
    // afresh. With the stage locked.
    void Release();
    std::unique_lock<std::mutex> LockStage() { return std::unique_lock<std::mutex>(stage); }
    // Where the bytes of the last check were written.
    std::string ScratchScript() const { return (scratch / "main.txt").string(); }

private:
    std::vector<Finding> CheckInGame(const std::string& folder, Scenario& compiled);
    bool StartUpChanged() const;
    std::map<std::string, std::filesystem::file_time_type> StartUpStamps() const;

    std::filesystem::path scratch;
    std::mutex stage;
    std::unique_ptr<GameCheck> game;
    std::string gameFolder;
    std::map<std::string, std::filesystem::file_time_type> startUpStamps;
};

// Makes a folder the working directory while it lives.
class InFolder {
public:
    explicit InFolder(const std::string& folder);
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    bool Entered() const { return entered; }

private:
    std::filesystem::path previous;
    bool entered = false;
};
