#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/File.h"
#include "core/LowLevelIo.h"
#include "tests/support/TempDir.h"

using testing_support::InTempDir;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class LowLevelIoWebTest : public InTempDir {};

std::string ReadAll(int descriptor, unsigned piece) {
    std::string bytes;
    std::vector<char> buffer(piece);
    for (int got; (got = lowio::Read(descriptor, buffer.data(), piece)) > 0;)
        bytes.append(buffer.data(), static_cast<size_t>(got));
    return bytes;
}

TEST_F(LowLevelIoWebTest, ReadsAndSeeksAsTheFileSystemWould) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i)
        bytes += static_cast<char>(i * 7);
    WriteFile("data.bin", bytes);
    int descriptor = lowio::Open("data.bin", lowio::ReadOnly | lowio::Binary);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(ReadAll(descriptor, 4096), bytes);
    EXPECT_EQ(lowio::Seek(descriptor, 0, lowio::FromEnd), 10000);
    EXPECT_EQ(lowio::Seek(descriptor, -3, lowio::FromEnd), 9997);
    EXPECT_EQ(ReadAll(descriptor, 2), bytes.substr(9997));
    EXPECT_EQ(lowio::Seek(descriptor, 20000, lowio::FromStart), 20000);
    char byte;
    EXPECT_EQ(lowio::Read(descriptor, &byte, 1), 0);
    EXPECT_EQ(lowio::Seek(descriptor, -1, lowio::FromStart), -1);
    EXPECT_EQ(lowio::Seek(descriptor, 5, lowio::FromStart), 5);
    EXPECT_EQ(ReadAll(descriptor, 1000), bytes.substr(5));
    EXPECT_EQ(lowio::Write(descriptor, "x", 1), -1);
    EXPECT_EQ(lowio::Close(descriptor), 0);
}

// Once open, a file is the page's no more: a reader never waits for it.
TEST_F(LowLevelIoWebTest, AnOpenFileKeepsTheBytesItHadWhenOpened) {
    WriteFile("voice.ogg", "first bytes");
    int descriptor = lowio::Open("voice.ogg", lowio::ReadOnly);
    ASSERT_GE(descriptor, 0);
    WriteFile("voice.ogg", "other bytes, more of them");
    EXPECT_EQ(ReadAll(descriptor, 3), "first bytes");
    lowio::Close(descriptor);
}

TEST_F(LowLevelIoWebTest, WhatCannotBeReadDoesNotOpen) {
    EXPECT_EQ(lowio::Open("missing", lowio::ReadOnly), -1);
    WriteFile("folder/inside", "x");
    EXPECT_EQ(lowio::Open("folder", lowio::ReadOnly), -1);
    WriteFile("empty", "");
    int descriptor = lowio::Open("empty", lowio::ReadOnly);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(lowio::Seek(descriptor, 0, lowio::FromEnd), 0);
    lowio::Close(descriptor);
}

TEST_F(LowLevelIoWebTest, HeldFilesRunOutAndComeBackWhenClosed) {
    WriteFile("one", "1");
    std::vector<int> open;
    for (int descriptor; (descriptor = lowio::Open("one", lowio::ReadOnly)) >= 0;)
        open.push_back(descriptor);
    ASSERT_GE(open.size(), 16u);  // the game keeps a handful open
    lowio::Close(open.back());
    open.pop_back();
    int again = lowio::Open("one", lowio::ReadOnly);
    EXPECT_GE(again, 0);
    open.push_back(again);
    for (int descriptor : open)
        EXPECT_EQ(lowio::Close(descriptor), 0);
}

// The log is written through the file system, as on the desktop.
TEST_F(LowLevelIoWebTest, WritesGoToTheFileSystem) {
    File log;
    log.OpenWrite("velmora.log");
    log.PutChar('o');
    log.PutChar('k');
    log.Close();
    EXPECT_EQ(ReadFile("velmora.log"), "ok");
    File read;
    read.OpenRead("velmora.log");
    EXPECT_EQ(read.Size(), 2);
    EXPECT_EQ(read.GetChar(), 'o');
}

}  // namespace
