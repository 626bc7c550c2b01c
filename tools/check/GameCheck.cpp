#include "tools/check/GameCheck.h"

#include <SDL_ttf.h>

#include <fstream>
#include <iterator>

#include "commands/Commands.h"
#include "commands/Stage.h"
#include "core/Exception.h"
#include "core/File.h"
#include "core/GamePaths.h"
#include "tools/check/FileChecks.h"
#include "tools/check/ScriptChecks.h"
#include "tools/check/TextChecks.h"

namespace {

const size_t kLongestLine = 4095;  // what the game reads of a line at once

void ReportFile(Findings& findings, const char* path, const FileChecks::Verdict& verdict) {
    if (!verdict.error.empty()) findings.AboutFile(path, verdict.error);
}

// The files start-up reads, in the order it reads them; the settings that
// load are returned for the rest of the check.
GameSettings CheckStartUpFiles(Findings& findings, FileChecks& files) {
    ReportFile(findings, paths::kGameSettings, files.Settings(paths::kGameSettings));
    ReportFile(findings, paths::kUserSettings, files.Settings(paths::kUserSettings));
    GameSettings settings;
    try {
        settings.Load(paths::kGameSettings);
    } catch (const Exception&) {
        // reported; the defaults stand in
    }
    ReportFile(findings, paths::kMusic, files.Sound(paths::kMusic));
    ReportFile(findings, paths::kArrowCursor, files.Picture(paths::kArrowCursor));
    ReportFile(findings, paths::kBusyCursor, files.Picture(paths::kBusyCursor));
    ReportFile(findings, paths::kFont,
               files.Font(paths::kFont, settings.GetInt("FontSize", 16), 0));
    ReportFile(findings, paths::kTextBox, files.Picture(paths::kTextBox));
    return settings;
}

// The text box as the game lays it out, when its fonts and picture load.
std::optional<TextBoxLayout> LoadLayout(const GameSettings& settings) {
    try {
        stage.Load(settings);
    } catch (const Exception&) {
        return std::nullopt;  // the start-up check has said why
    }
    return TextBoxLayout(stage, settings.GetInt("Width", 800));
}

std::string ReadBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CheckLongLines(Findings& findings, const char* scriptPath) {
    for (const LongLine& line : LongPhysicalLines(ReadBytes(scriptPath), kLongestLine)) {
        findings.AtLine(line.gameLine, Finding::Warning,
                        "line of " + std::to_string(line.length) +
                            " characters: the game reads it as " + std::to_string(line.pieces) +
                            " lines of at most 4095 and counts each, so its tail is read as a "
                            "line of its own and every later line number, here as in the "
                            "game's log, is higher than an editor shows");
    }
}

// Each line as the game reads it, looked at for UTF-8 text.
void CheckEncoding(Findings& findings, const char* scriptPath) {
    File file;
    file.OpenRead(scriptPath);
    char line[kLongestLine + 1];
    for (int number = 1; !file.IsEof(); ++number) {
        file.ReadLine(line, sizeof line);
        if (!LooksLikeUtf8(line)) continue;
        findings.AtLine(number, Finding::Warning,
                        "text in UTF-8, which the game shows through its Windows-1251 table as "
                        "other letters: convert the file with iconv -f UTF-8 -t WINDOWS-1251");
    }
}

void CheckWholeScript(Findings& findings, const char* scriptPath, FileChecks* files,
                      const std::optional<TextBoxLayout>& layout, Scenario* compiled) {
    Scenario own;
    Scenario& script = compiled ? *compiled : own;
    RegisterCommands(script);
    try {
        for (const Scenario::LineError& error : script.LoadEveryLine(scriptPath))
            findings.GameError(error.line, error.message);
    } catch (const Exception& e) {
        findings.AboutFile(findings.Script(), e.Message());  // unreadable: nothing more to check
        return;
    }
    CheckLongLines(findings, scriptPath);
    CheckEncoding(findings, scriptPath);
    ScriptChecks(script, findings, files, layout).Run();
}

}  // namespace

GameCheck::GameCheck() : startUp(paths::kScript) {
    GameSettings settings = CheckStartUpFiles(startUp, startUpFiles);
    layout = LoadLayout(settings);
}

GameCheck::~GameCheck() {
    stage.primaryFont.Close();
    stage.secondaryFont.Close();
}

std::vector<Finding> GameCheck::CheckScript(const char* scriptPath, Scenario* compiled) {
    Findings findings = startUp;
    scriptFiles.NewCheck();
    CheckWholeScript(findings, scriptPath, &scriptFiles, layout, compiled);
    return findings.Sorted();
}

std::vector<Finding> CheckScriptAlone(const char* scriptPath, const std::string& shownName,
                                      Scenario* compiled) {
    Findings findings(shownName);
    CheckWholeScript(findings, scriptPath, nullptr, std::nullopt, compiled);
    return findings.Sorted();
}

std::vector<Finding> CheckGame() {
    return GameCheck().CheckScript();
}
