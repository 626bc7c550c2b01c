#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/File.h"
#include "tests/support/ExceptionMessage.h"
#include "tests/support/TempDir.h"

using testing_support::InTempDir;
using testing_support::MessageOf;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class FileTest : public InTempDir {};

std::vector<std::string> ReadLines(const std::string& bytes, int bufferSize = 4096) {
    WriteFile("lines.txt", bytes);
    File file;
    file.OpenRead("lines.txt");
    std::vector<std::string> lines;
    std::vector<char> buffer(bufferSize);
    while (!file.IsEof()) {
        file.ReadLine(buffer.data(), bufferSize);
        lines.emplace_back(buffer.data());
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST_F(FileTest, EveryKindOfLineEnd) {
    EXPECT_EQ(ReadLines("ab\r\ncd"), (Lines{"ab", "cd"}));
    EXPECT_EQ(ReadLines("ab\n\rcd"), (Lines{"ab", "cd"}));
    EXPECT_EQ(ReadLines("ab\rcd\n"), (Lines{"ab", "cd"}));
    EXPECT_EQ(ReadLines("ab\n\ncd"), (Lines{"ab", "", "cd"}));
    EXPECT_EQ(ReadLines("ab\r\rcd"), (Lines{"ab", "", "cd"}));
    EXPECT_EQ(ReadLines("ab\r\n\r\ncd"), (Lines{"ab", "", "cd"}));
    EXPECT_EQ(ReadLines("last line"), (Lines{"last line"}));
}

TEST_F(FileTest, OverLongLineContinuesAsNextLine) {
    EXPECT_EQ(ReadLines("abcdef\nxy", 4), (Lines{"abc", "def", "xy"}));
    std::string longLine(5000, 'q');
    Lines lines = ReadLines(longLine + "\nend");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(4095, 'q'));
    EXPECT_EQ(lines[1], std::string(905, 'q'));
    EXPECT_EQ(lines[2], "end");
}

TEST_F(FileTest, ByteReadingAndEndOfFile) {
    WriteFile("three", "xyz");
    File file;
    file.OpenRead("three");
    EXPECT_EQ(file.Size(), 3);
    EXPECT_EQ(file.GetChar(), 'x');
    EXPECT_EQ(file.GetChar(), 'y');
    EXPECT_FALSE(file.IsEof());
    EXPECT_EQ(file.GetChar(), 'z');
    EXPECT_TRUE(file.IsEof());
    EXPECT_EQ(file.GetChar(), 0);
    // The last byte pushed back can be read again even at the end.
    file.UngetChar('z');
    EXPECT_FALSE(file.IsEof());
    EXPECT_EQ(file.GetChar(), 'z');
    EXPECT_TRUE(file.IsEof());
}

TEST_F(FileTest, UngetHoldsOneByte) {
    WriteFile("two", "ab");
    File file;
    file.OpenRead("two");
    EXPECT_EQ(file.GetChar(), 'a');
    file.UngetChar(0x161);  // only the low 8 bits are kept
    EXPECT_EQ(MessageOf([&] { file.UngetChar('b'); }), "No more symbols in unget queue");
    EXPECT_EQ(file.GetChar(), 0x61);
    EXPECT_EQ(file.GetChar(), 'b');
    EXPECT_TRUE(file.IsEof());
}

std::string Pattern(int length) {
    std::string bytes;
    for (int i = 0; i < length; ++i)
        bytes.push_back(static_cast<char>(i * 7 + i / 251));
    return bytes;
}

TEST_F(FileTest, BlockBoundaries) {
    for (int length : {4095, 4096, 4097, 8192, 8193}) {
        SCOPED_TRACE(length);
        std::string bytes = Pattern(length);
        WriteFile("block", bytes);
        File byBytes;
        byBytes.OpenRead("block");
        std::string seen;
        while (!byBytes.IsEof())
            seen.push_back(static_cast<char>(byBytes.GetChar()));
        EXPECT_EQ(seen, bytes);

        // Odd-sized block reads that straddle the buffer edges.
        File byBlocks;
        byBlocks.OpenRead("block");
        std::string joined;
        char chunk[1000];
        int got;
        while ((got = byBlocks.Read(chunk, sizeof chunk)) > 0)
            joined.append(chunk, got);
        EXPECT_EQ(joined, bytes);
        EXPECT_TRUE(byBlocks.IsEof());
    }
}

TEST_F(FileTest, ReadStartsWithPushedBackByteAndStopsAtEnd) {
    WriteFile("abc", "abc");
    File file;
    file.OpenRead("abc");
    file.GetChar();
    file.UngetChar('A');
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 8), 3);
    EXPECT_EQ(std::string(buffer, 3), "Abc");
    EXPECT_EQ(file.Read(buffer, 8), 0);
}

TEST_F(FileTest, LittleEndianWords) {
    WriteFile("words", std::string("\x34\x12\x01\x02\x03\x04\xff", 7));
    File file;
    file.OpenRead("words");
    EXPECT_EQ(file.GetWord16(), 0x1234);
    EXPECT_EQ(file.GetWord32(), 0x04030201u);
    EXPECT_EQ(file.GetWord16(), 0x00ff);  // missing bytes read as 0

    File out;
    out.OpenWrite("out");
    out.PutWord16(0xBEEF);
    out.PutWord32(0x01020304);
    out.Close();
    EXPECT_EQ(ReadFile("out"), std::string("\xef\xbe\x04\x03\x02\x01", 6));
}

TEST_F(FileTest, EmptyFileAndSeeking) {
    WriteFile("empty", "");
    File empty;
    empty.OpenRead("empty");
    EXPECT_TRUE(empty.IsEof());
    EXPECT_EQ(empty.GetChar(), 0);

    WriteFile("data", Pattern(5000));
    File file;
    file.OpenRead("data");
    file.SeekRead(4500);
    EXPECT_EQ(file.GetChar(), static_cast<unsigned char>(Pattern(5000)[4500]));
    file.SeekRead(5000);
    EXPECT_TRUE(file.IsEof());
    file.SeekRead(7000);
    EXPECT_TRUE(file.IsEof());
    EXPECT_EQ(file.GetChar(), 0);
    file.SeekRead(-5);
    EXPECT_TRUE(file.IsEof());
    file.SeekRead(0);
    EXPECT_FALSE(file.IsEof());
}

TEST_F(FileTest, WriteBuffersAreFlushedOnCloseAndDestruction) {
    std::string bytes = Pattern(10000);
    {
        File file;
        file.OpenWrite("written");
        for (char c : bytes)
            file.PutChar(static_cast<unsigned char>(c));
        EXPECT_EQ(ReadFile("written").size(), 8192u);  // whole blocks only so far
    }
    EXPECT_EQ(ReadFile("written"), bytes);
}

TEST_F(FileTest, PrintfWritesWhatFitsItsBuffer) {
    File file;
    file.OpenWrite("printed");
    file.Printf("%d-%s|", 42, "x");
    file.Printf("%s", std::string(5000, 'p').c_str());
    file.Close();
    EXPECT_EQ(ReadFile("printed"), "42-x|" + std::string(4095, 'p'));
}

TEST_F(FileTest, ModeAndOpenErrors) {
    EXPECT_EQ(MessageOf([] { File().OpenRead("missing/file.txt"); }),
              "Read error in missing/file.txt");
    EXPECT_EQ(MessageOf([] { File().OpenRead("."); }), "Read error in .");
    EXPECT_EQ(MessageOf([] { File().OpenWrite("missing/out.txt"); }),
              "Write error in missing/out.txt");

    File file;
    EXPECT_EQ(MessageOf([&] { file.Close(); }), "File not opened");
    EXPECT_EQ(MessageOf([&] { file.GetChar(); }), "Incorrect access mode");
    file.OpenWrite("w");
    EXPECT_EQ(MessageOf([&] { file.GetChar(); }), "Incorrect access mode");
    EXPECT_EQ(MessageOf([&] { file.IsEof(); }), "Incorrect access mode");
    EXPECT_EQ(MessageOf([&] { file.Size(); }), "Incorrect access mode");
    file.Close();
    EXPECT_EQ(MessageOf([&] { file.Close(); }), "File not opened");
    file.OpenRead("w");
    EXPECT_EQ(MessageOf([&] { file.PutChar('a'); }), "Incorrect access mode");
    EXPECT_EQ(MessageOf([&] { file.Printf("x"); }), "Incorrect access mode");
}

TEST_F(FileTest, CopyingIsRefused) {
    File original;
    EXPECT_EQ(MessageOf([&] { File copy(original); }), "Copy File object not allowed (construct)");
    File other;
    EXPECT_EQ(MessageOf([&] { other = original; }), "Copy File object not allowed (operator=)");
}

}  // namespace
