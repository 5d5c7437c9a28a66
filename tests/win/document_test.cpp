// The document under the real windows: opening files of every kind, the
// save prompt and what reaches the disk, and the command line at start-up.
#include <gtest/gtest.h>

#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "wintest.h"

using namespace wintest;

namespace {

std::string header(int from, int count) { return std::string(ed.headerLine + from, count); }

TEST(Document, OpensWritableAndReadOnlyFiles)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    std::vector<unsigned char> bytes = patternBytes(1000);
    std::string writable = writeTempFile("writable.bin", bytes);
    std::string readOnly = writeTempFile("readonly.bin", patternBytes(100, 7));
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));

    openFile(writable.c_str());
    EXPECT_GE(ed.fileHandle, 0);
    EXPECT_EQ(1000, ed.fileSize);
    EXPECT_EQ(0, ed.readOnly);
    EXPECT_EQ(0, memcmp(ed.pageBuffer, bytes.data(), bytes.size()));
    EXPECT_EQ(0, ed.pageBase);
    EXPECT_STREQ(writable.c_str(), ed.fileName);
    EXPECT_EQ(std::string(10, ' '), header(25, 10));

    openFile(readOnly.c_str());
    EXPECT_EQ(1, ed.readOnly);
    EXPECT_EQ(100, ed.fileSize);
    EXPECT_EQ("READ ONLY ", header(25, 10));
    EXPECT_EQ(" Offset:", header(0, 8));

    openFile(writable.c_str());
    EXPECT_EQ(0, ed.readOnly);
    EXPECT_EQ(std::string(10, ' '), header(25, 10));
    EXPECT_TRUE(seenBoxes().empty());
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Document, MissingPathIsReportedOnceAndLeavesNoFile)
{
    EditorSession s;
    std::string good = writeTempFile("good.bin", patternBytes(64));
    openFile(good.c_str());
    ASSERT_GE(ed.fileHandle, 0);
    int16_t recentBefore = ed.recentCount;

    answerNextBox(IDOK);
    openFile(tempPath("no-such-file.bin").c_str());
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error opening file", seenBoxes()[0].text);
    EXPECT_EQ("Error", seenBoxes()[0].caption);
    EXPECT_EQ(-1, ed.fileHandle);
    EXPECT_STREQ("", ed.fileName);
    EXPECT_EQ(0, ed.fileSize);
    EXPECT_EQ(recentBefore, ed.recentCount);
}

TEST(Document, EmptyFileAndEmptyPathOpenSilently)
{
    EditorSession s;
    std::string empty = writeTempFile("empty.bin", {});
    openFile(empty.c_str());
    EXPECT_GE(ed.fileHandle, 0);
    EXPECT_EQ(0, ed.fileSize);

    openFile("");
    EXPECT_EQ(-1, ed.fileHandle);
    EXPECT_STREQ("", ed.fileName);
    EXPECT_TRUE(seenBoxes().empty());
}

TEST(Document, PathsLongerThanTheNameBufferAreRefused)
{
    EditorSession s;
    std::string longPath = "C:\\" + std::string(300, 'a') + ".bin";
    answerNextBox(IDOK);
    openFile(longPath.c_str());
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error: The path is too long (more than 259 characters)", seenBoxes()[0].text);
    EXPECT_EQ(-1, ed.fileHandle);
    EXPECT_STREQ("", ed.fileName);
}

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        original = patternBytes(40000, 3);
        path = writeTempFile("save.bin", original);
        openFile(path.c_str());
        ASSERT_EQ(40000, ed.fileSize);
    }
    EditorSession session;
    std::vector<unsigned char> original;
    std::string path;
};

TEST_F(SaveTest, YesWritesTheWindowBackWithoutChangingTheLength)
{
    // The window from 16000 reaches past the end of the file.
    loadPage(16000);
    ASSERT_EQ(16000, ed.pageBase);
    EXPECT_EQ(0, memcmp(ed.pageBuffer, original.data() + 16000, 24000));
    ed.pageBuffer[0] ^= 0xFF;
    ed.pageBuffer[23999] ^= 0xFF;           // the file's last byte
    memset(ed.pageBuffer + 24000, 0xEE, PAGE_SIZE - 24000);   // past the end: never written
    ed.pageDirty = 1;

    answerNextBox(IDYES);
    flushPage();
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Do you want to save the changes?", seenBoxes()[0].text);
    EXPECT_EQ("Confirmation", seenBoxes()[0].caption);
    EXPECT_EQ(0, ed.pageDirty);

    std::vector<unsigned char> expected = original;
    expected[16000] ^= 0xFF;
    expected[39999] ^= 0xFF;
    closeFile();
    EXPECT_EQ(expected, readFile(path));
}

TEST_F(SaveTest, NoRereadsTheOldBytes)
{
    ed.pageBuffer[5] = (unsigned char)(original[5] + 1);
    ed.pageDirty = 1;
    answerNextBox(IDNO);
    flushPage();
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(original[5], ed.pageBuffer[5]);
    EXPECT_EQ(0, ed.pageDirty);
    closeFile();
    EXPECT_EQ(original, readFile(path));
}

TEST_F(SaveTest, MovingTheWindowOffersTheChangesOnce)
{
    ed.pageBuffer[1] ^= 0x55;
    ed.pageDirty = 1;
    answerNextBox(IDYES);
    loadPage(32752);
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(32752, ed.pageBase);
    EXPECT_EQ(0, memcmp(ed.pageBuffer, original.data() + 32752, 40000 - 32752));
    // A clean window moves without a question.
    loadPage(0);
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(original[1] ^ 0x55, ed.pageBuffer[1]);
}

TEST_F(SaveTest, OpeningAnotherFileOffersTheChangesFirst)
{
    std::string other = writeTempFile("other.bin", patternBytes(10, 9));
    ed.pageBuffer[2] ^= 1;
    ed.pageDirty = 1;
    answerNextBox(IDYES);
    openFile(other.c_str());
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_EQ(10, ed.fileSize);
    std::vector<unsigned char> expected = original;
    expected[2] ^= 1;
    EXPECT_EQ(expected, readFile(path));
}

void cutFile(const std::string &path, LONG size)
{
    HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    SetFilePointer(other, size, NULL, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(other));
    CloseHandle(other);
}

TEST_F(SaveTest, FileCutShortByAnotherProgramIsNotLengthenedAgain)
{
    cutFile(path, 20000);
    ed.pageBuffer[100] ^= 0xFF;
    ed.pageDirty = 1;
    answerNextBox(IDYES);
    flushPage();
    closeFile();
    EXPECT_EQ(1u, seenBoxes().size());

    std::vector<unsigned char> expected(original.begin(), original.begin() + 20000);
    expected[100] ^= 0xFF;
    EXPECT_EQ(expected, readFile(path));
}

TEST_F(SaveTest, ChangePastTheEndOfAFileCutShortIsReportedAndNothingWritten)
{
    cutFile(path, 20000);
    ed.pageBuffer[100] ^= 0xFF;
    ed.pageBuffer[30000] ^= 0xFF;       // no longer in the file
    ed.pageDirty = 1;
    answerNextBox(IDYES);
    answerNextBox(IDOK);
    flushPage();
    ASSERT_EQ(2u, seenBoxes().size());
    EXPECT_EQ("Write error", seenBoxes()[1].text);
    EXPECT_EQ("Error", seenBoxes()[1].caption);
    closeFile();
    EXPECT_EQ(std::vector<unsigned char>(original.begin(), original.begin() + 20000), readFile(path));
}

TEST(PageHolds, Bounds)
{
    ed.pageBase = 1000;
    EXPECT_TRUE(pageHolds(1000, 1000 + PAGE_SIZE - 1));
    EXPECT_FALSE(pageHolds(999, 1000));
    EXPECT_FALSE(pageHolds(1000, 1000 + PAGE_SIZE));
    EXPECT_FALSE(pageHolds(1000 + PAGE_SIZE, 1000 + PAGE_SIZE));
    ed.pageBase = 0x7FFFFFFF - 100;     // the window's end passes the 32-bit range
    EXPECT_TRUE(pageHolds(0x7FFFFFFF - 100, 0x7FFFFFFF));
    EXPECT_FALSE(pageHolds(0x7FFFFFFF - 101, 0x7FFFFFFF));
    ed.pageBase = 0;
}

// Files of 2 GiB and more cannot be addressed with signed 32-bit offsets.
TEST(Document, FilesOf2GiBOrMoreAreRefused)
{
    EditorSession s;
    struct { const char *name; int64_t size; } sizes[] = {
        {"two-gib.bin", 0x80000000},
        {"four-gib-and-ten.bin", 0x10000000A},
    };
    for (auto &size : sizes) {
        std::string path = writeSparseFile(size.name, size.size);
        ASSERT_FALSE(path.empty());
        clearSeenBoxes();
        answerNextBox(IDOK);
        openFile(path.c_str());
        ASSERT_EQ(1u, seenBoxes().size()) << size.name;
        EXPECT_EQ("Error", seenBoxes()[0].caption);
        EXPECT_NE(std::string::npos, seenBoxes()[0].text.find("too large")) << seenBoxes()[0].text;
        EXPECT_EQ(-1, ed.fileHandle);
        EXPECT_EQ(0, ed.fileSize);
        EXPECT_STREQ("", ed.fileName);
        DeleteFileA(path.c_str());
    }
}

TEST(Document, LargestFileOpensWithItsSize)
{
    EditorSession s;
    std::string path = writeSparseFile("largest.bin", 0x7FFFFFFF);
    ASSERT_FALSE(path.empty());
    openFile(path.c_str());
    EXPECT_TRUE(seenBoxes().empty());
    EXPECT_EQ(0x7FFFFFFF, ed.fileSize);
    loadPage(0x7FFFFFFF - 16);
    EXPECT_EQ(0, ed.pageBuffer[15]);
    closeFile();
    DeleteFileA(path.c_str());
}

// The command line, as start-up reads it.
struct CommandLineCase {
    std::string args;
    std::string expectedName;
};

TEST(StartUp, CommandLineOpensTheWholeArgumentAsOnePath)
{
    std::string spaced = writeTempFile("with blanks.bin", patternBytes(20));
    const CommandLineCase cases[] = {
        {"\"" + spaced + "\"", spaced},
        {spaced, spaced},
    };
    for (const CommandLineCase &c : cases) {
        EditorSession s(c.args.c_str());
        EXPECT_STREQ(c.expectedName.c_str(), ed.fileName) << c.args;
        EXPECT_EQ(20, ed.fileSize);
        EXPECT_TRUE(seenBoxes().empty());
    }
}

TEST(StartUp, LoneQuoteOpensNothingAndOffersNothing)
{
    EditorSession s("\"");
    pump();
    EXPECT_EQ(-1, ed.fileHandle);
    EXPECT_TRUE(seenBoxes().empty());   // no message, no Open dialog
}

TEST(StartUp, TwoNamesAreOnePathThatDoesNotExist)
{
    answerNextBox(IDOK);
    EditorSession s("a.bin b.bin");
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error opening file", seenBoxes()[0].text);
    EXPECT_EQ(-1, ed.fileHandle);
}

TEST(StartUp, OverlongArgumentIsRefusedWithoutOverrun)
{
    std::string args(300, 'z');
    answerNextBox(IDOK);
    EditorSession s(args.c_str());
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error: The path is too long (more than 259 characters)", seenBoxes()[0].text);
    EXPECT_EQ(-1, ed.fileHandle);
    EXPECT_TRUE(IsWindow(ed.mainWnd));
}

TEST(StartUp, NoArgumentOffersTheOpenDialog)
{
    bool offered = false;
    onNextBox([&](HWND dlg) {
        offered = true;
        PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    EditorSession s("");
    EXPECT_TRUE(waitFor([&] { return offered; }));
    ASSERT_FALSE(seenBoxes().empty());
    EXPECT_EQ("Open", seenBoxes()[0].caption);
    pump();
    EXPECT_EQ(-1, ed.fileHandle);
}

}  // namespace
