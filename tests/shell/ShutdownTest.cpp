#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/SDLWavePlayer.h"
#include "core/FatalExit.h"
#include "core/Log.h"
#include "shell/Shutdown.h"
#include "tests/support/Environment.h"
#include "tests/support/TempDir.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

using ShutdownTest = testing_support::InTempDir;

void FailingMixer(void*, Uint8* out, int length) {
    SDLWavePlayer::MixAudio(nullptr, out, length);
    FatalError("from the mixer");
}

void QuitSdlHandler() {
    QuitSdl();
    WriteFile("sdl-quit-returned", "");
}

// The mixer's thread, held inside its fatal error, never returns to SDL: the
// exit on the main thread must not wait for it to close the device.
TEST_F(ShutdownTest, FatalErrorOnTheMixerThreadEndsThroughTheHandlers) {
    EXPECT_EXIT(
        {
            testing_support::SetEnvironment("SDL_AUDIODRIVER", "dummy");
            RegisterMainThread();
            if (SDL_Init(SDL_INIT_AUDIO) != 0) std::_Exit(2);
            std::atexit(QuitSdlHandler);
            SDL_AudioSpec wanted = {};
            wanted.freq = 44100;
            wanted.format = AUDIO_S16LSB;
            wanted.channels = 2;
            wanted.samples = 1024;
            wanted.callback = FailingMixer;
            if (SDL_OpenAudio(&wanted, nullptr) < 0) std::_Exit(3);
            SDL_PauseAudio(0);
            for (;;) {
                TakePendingFatalExit();
                SDL_Delay(1);
            }
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile("velmora.log"), "[Error] from the mixer\n");
    EXPECT_TRUE(FileExists("sdl-quit-returned"));
}

// A game thread that never comes to park (here it waits for the exit handler
// itself) holds the exit for a while at most, then the handler goes on.
TEST(ShutdownWaitTest, GivesUpOnAThreadThatNeverParks) {
    EXPECT_EXIT(
        {
            std::atomic<bool> entered{false};
            std::atomic<bool> released{false};
            std::thread busy([&] {
                EnterGameThread();
                entered.store(true);
                while (!released.load())
                    SDL_Delay(1);
                LeaveGameThread();
            });
            while (!entered.load())
                SDL_Delay(1);
            StopOtherThreads();
            released.store(true);
            busy.join();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
