#pragma once

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/Log.h"
#include "graphics/CharacterTable.h"
#include "tests/e2e/GameFiles.h"
#include "tests/lsp/TestClient.h"
#include "tests/support/OggClip.h"
#include "tests/support/TempDir.h"
#include "tools/lsp/DocumentPlace.h"

namespace lsp_testing {

// A small game in the test's folder, edited through the server as an author would.
class GameFixture : public testing_support::InTempDir {
protected:
    static void SetUpTestSuite() {
        TTF_Init();
        BuildCharacterTable();
    }
    static void TearDownTestSuite() { TTF_Quit(); }

    void SetUp() override {
        InTempDir::SetUp();
        files.pictures["data/gfx/room.png"] = {4, 3, e2e::Solid(4, 3, 0xFF336699)};
        files.pictures["data/gfx/people/ann.png"] = {2, 2, e2e::Solid(2, 2, 0xFFFF0000)};
        testing_support::WriteOggClip("data/mfx/voc/hello.ogg",
                                      testing_support::StereoSine(4410, 440, 8000));
        uri = UriFromPath(directory + "/data/scenario/main.txt");
        client = std::make_unique<TestClient>(directory + "/scratch");
        std::filesystem::create_directories(directory + "/scratch");
        client->Initialize();
    }

    // Writes the script to disk too, so that velmora-check sees what the editor shows.
    json OpenGame(const std::string& script) {
        files.script = script;
        files.WriteTo(directory);
        return client->Open(uri, script);
    }

    json Change(const json& changes) {
        json document = {{"uri", uri}, {"version", ++version}};
        return DiagnosticsIn(client->Notify(
            "textDocument/didChange", {{"textDocument", document}, {"contentChanges", changes}}));
    }

    json Result(const std::string& method, int line, int character, json extra = json::object()) {
        json params = At(uri, line, character);
        params.update(extra);
        return client->Request(method, params)["result"];
    }

    e2e::GameFiles files;
    std::string uri;
    std::unique_ptr<TestClient> client;
    FatalErrorTrap trap;
    int version = 1;
};

}  // namespace lsp_testing
