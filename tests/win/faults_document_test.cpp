// Faults of the file under the real windows: a full disk during a save, the
// file deleted or renamed by another program while it is open, the largest
// file edited at its end, and paths at the limit of the name buffer.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "document/document.h"
#include "document/editor_state.h"
#include "faults_unix.h"
#include "wintest.h"

using namespace faults;
using namespace wintest;

namespace {

std::vector<unsigned char> readRange(const std::string &path, LONG offset, DWORD count)
{
    std::vector<unsigned char> bytes(count);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return {};
    DWORD got = 0;
    SetFilePointer(h, offset, NULL, FILE_BEGIN);
    ReadFile(h, bytes.data(), count, &got, NULL);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

DWORD sizeOf(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0xFFFFFFFFu;
    return data.nFileSizeHigh ? 0xFFFFFFFFu : data.nFileSizeLow;
}

void changeWindow(int32_t from, int32_t count, unsigned char value)
{
    memset(ed.pageBuffer + from, value, count);
    ed.pageDirty = 1;
}

// Answers the save prompt with Yes and the error, if one comes, with OK.
void saveWithYes()
{
    answerNextBox(IDYES);
    answerNextBox(IDOK);
    flushPage();
}

bool sawWriteError()
{
    for (const SeenBox &b : seenBoxes())
        if (b.text == "Write error" && b.caption == "Error") return true;
    return false;
}

// A small memory file system holding a sparse file of 1 MiB whose first
// 8 KiB are data and the rest a hole, and a filler that leaves `freeBytes`
// of room: writing into the hole needs blocks that are not there.
class DiskFull : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        if (!unixCommandsWork()) GTEST_SKIP() << "Unix commands cannot be started from this Wine";
        mountPoint = unixScratch() + "/small";
        int status = runUnix("mkdir -p " + mountPoint + " && mount -t tmpfs -o size=64k tmpfs " + mountPoint);
        if (status != 0) GTEST_SKIP() << "mounting a 64 KiB tmpfs was refused (needs root); status " << status;
        mounted = true;
        int filler = 64 * 1024 - 8192 - GetParam();
        ASSERT_EQ(0, runUnix("cd " + mountPoint + " && head -c 8192 /dev/urandom >data.bin && truncate -s 1M data.bin" +
                             " && head -c " + std::to_string(filler) + " /dev/zero >filler"));
        path = windowsPath(mountPoint + "/data.bin");
        head = readRange(path, 0, 8192);
        ASSERT_EQ(8192u, head.size());
    }
    void TearDown() override
    {
        if (mounted) runUnix("umount " + mountPoint + " || umount -l " + mountPoint);
    }
    std::string mountPoint, path;
    std::vector<unsigned char> head;
    bool mounted = false;
};

TEST_P(DiskFull, FailedSaveIsReportedAndLeavesTheFileAsItWas)
{
    EditorSession s;
    openFile(path.c_str());
    ASSERT_EQ(1 << 20, ed.fileSize);

    // A window in the hole, not aligned to the file system's blocks.
    loadPage(500000);
    changeWindow(0, PAGE_SIZE, 0xA5);
    saveWithYes();
    ASSERT_EQ(2u, seenBoxes().size());
    EXPECT_EQ("Do you want to save the changes?", seenBoxes()[0].text);
    EXPECT_TRUE(sawWriteError());
    EXPECT_EQ(0, ed.pageDirty);
    EXPECT_EQ(std::vector<unsigned char>(PAGE_SIZE, 0),
              std::vector<unsigned char>(ed.pageBuffer, ed.pageBuffer + PAGE_SIZE))
        << "the view shows what the file holds";
    EXPECT_EQ(std::vector<unsigned char>(PAGE_SIZE, 0), readRange(path, 500000, PAGE_SIZE));
    EXPECT_EQ(1u << 20, sizeOf(path));
    // With room, the write really stopped part way: the hole gained the
    // blocks it got (written back with zeros); without, it gained none.
    std::string blocks = "test `stat -c %b " + mountPoint + "/data.bin` ";
    EXPECT_EQ(0, runUnix(blocks + (GetParam() ? "-gt 16" : "-eq 16")));

    // The editor goes on: bytes that already have blocks are saved.
    clearSeenBoxes();
    loadPage(0);
    changeWindow(100, 2, 0x5A);
    saveWithYes();
    EXPECT_EQ(1u, seenBoxes().size());
    EXPECT_FALSE(sawWriteError());
    closeFile();
    std::vector<unsigned char> expected = head;
    expected[100] = expected[101] = 0x5A;
    EXPECT_EQ(expected, readRange(path, 0, 8192));
    EXPECT_EQ(std::vector<unsigned char>(PAGE_SIZE, 0), readRange(path, 500000, PAGE_SIZE));
    EXPECT_EQ(1u << 20, sizeOf(path));
}

// No room at all: the write fails at once. 16 KiB of room: the write stops
// part way and what it wrote is put back.
INSTANTIATE_TEST_SUITE_P(Room, DiskFull, ::testing::Values(0, 16384));

// Another program deletes, replaces, renames or changes the file while it
// is open with changes in the window: a save lands in the file under its
// name or is reported as failed, and never undoes the other program's
// changes to bytes the user did not change.
struct Meddling {
    const char *name;
    const char *command;        // run in the file's folder; the file is a.bin
    bool saved;                 // the save reaches a named file
    const char *survivor;       // the file that must end up as expected
};

class ChangedBehindTheEditor : public ::testing::TestWithParam<Meddling> {};

TEST_P(ChangedBehindTheEditor, SaveNeverGoesToAFileWithoutAName)
{
    const Meddling &m = GetParam();
    if (!unixCommandsWork()) GTEST_SKIP() << "Unix commands cannot be started from this Wine";
    std::string dir = unixScratch() + "/" + m.name;
    ASSERT_EQ(0, runUnix("rm -rf " + dir + " && mkdir " + dir));
    std::vector<unsigned char> original = patternBytes(5000, 11);
    std::string path = windowsPath(dir + "/a.bin");
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(original.data(), 1, original.size(), f);
    fclose(f);

    EditorSession s;
    openFile(path.c_str());
    ASSERT_EQ(5000, ed.fileSize);
    ASSERT_EQ(0, runUnix("cd " + dir + " && " + m.command));
    std::vector<unsigned char> survivorBefore = readFile(windowsPath(dir + "/" + m.survivor));

    changeWindow(10, 3, 0xEE);
    saveWithYes();
    EXPECT_EQ(!m.saved, sawWriteError());
    EXPECT_EQ(0, ed.pageDirty);
    EXPECT_EQ(m.saved ? 0xEE : original[10], ed.pageBuffer[10]);
    // The editor goes on working: the view moves and the file closes.
    loadPage(16);
    EXPECT_EQ(16, ed.pageBase);
    closeFile();

    std::vector<unsigned char> expected = survivorBefore;
    if (m.saved) memset(expected.data() + 10, 0xEE, 3);
    EXPECT_EQ(expected, readFile(windowsPath(dir + "/" + m.survivor)));
    EXPECT_EQ(0, runUnix("cd " + dir + " && test `ls` = " + m.survivor)) << "no other file appeared";
    runUnix("rm -rf " + dir);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ChangedBehindTheEditor,
    ::testing::Values(Meddling{"replaced", "rm a.bin && echo new >a.bin", false, "a.bin"},
                      Meddling{"renamed", "mv a.bin b.bin", false, "b.bin"},
                      Meddling{"changedElsewhere", "printf XYZ | dd of=a.bin bs=1 seek=4000 conv=notrunc", true,
                               "a.bin"},
                      Meddling{"replacedByACopy", "cp a.bin c.bin && mv c.bin a.bin", false, "a.bin"}),
    [](const ::testing::TestParamInfo<Meddling> &info) { return std::string(info.param.name); });

TEST(Deleted, SaveOfADeletedFileIsRefusedAndNothingReappears)
{
    if (!unixCommandsWork()) GTEST_SKIP() << "Unix commands cannot be started from this Wine";
    std::string dir = unixScratch() + "/gone";
    ASSERT_EQ(0, runUnix("rm -rf " + dir + " && mkdir " + dir + " && head -c 3000 /dev/urandom >" + dir + "/a.bin"));
    std::string path = windowsPath(dir + "/a.bin");

    EditorSession s;
    openFile(path.c_str());
    ASSERT_EQ(3000, ed.fileSize);
    ASSERT_EQ(0, runUnix("rm " + dir + "/a.bin"));
    changeWindow(0, 100, 0x11);
    saveWithYes();
    EXPECT_TRUE(sawWriteError());
    EXPECT_EQ(0, ed.pageDirty);
    closeFile();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    runUnix("rm -rf " + dir);
}

// The largest file the editor opens, 2 GiB - 1 bytes, scrolled to its end
// with the scroll bar and its last byte changed.
TEST(LargestFile, LastByteIsSavedAtItsPlace)
{
    std::string path = writeSparseFile("largest-end.bin", 0x7FFFFFFF);
    ASSERT_FALSE(path.empty());
    const int32_t last = 0x7FFFFFFE;
    {
        EditorSession s(("\"" + path + "\"").c_str());
        ASSERT_EQ(0x7FFFFFFF, ed.fileSize);
        ASSERT_TRUE(waitFor([] { return ed.charWidth != 0; }));
        SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
        UpdateWindow(ed.hexViewWnd);
        pump();
        EXPECT_EQ(ed.topRowMax, ed.topRow);
        EXPECT_GT(ed.topRow, 0);
        EXPECT_LE((int64_t)ed.topRow * 16, (int64_t)last);
        EXPECT_EQ((int64_t)ed.topRow * 16, (int64_t)ed.pageBase) << "the paint loaded the window at the first row";
        ASSERT_TRUE(pageHolds(last, last));
        EXPECT_GE(ed.percent, 99);
        EXPECT_LE(ed.percent, 100);

        // Every other way down stays at the last row, with the window on it.
        const WORD requests[] = {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM};
        for (WORD request : requests) {
            SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(request, 0), 0);
            UpdateWindow(ed.hexViewWnd);
            EXPECT_EQ(ed.topRowMax, ed.topRow) << request;
        }
        SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, ed.vScrollMax), 0);
        UpdateWindow(ed.hexViewWnd);
        EXPECT_LE(ed.topRow, ed.topRowMax);
        EXPECT_GE((int64_t)ed.topRow + 4, (int64_t)ed.topRowMax) << "the thumb at its end reaches the end";
        SendMessageA(ed.hexViewWnd, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
        UpdateWindow(ed.hexViewWnd);
        pump();
        ASSERT_TRUE(pageHolds(last, last));

        ed.pageBuffer[last - ed.pageBase] = 0x5A;
        ed.pageDirty = 1;
        saveWithYes();
        EXPECT_FALSE(sawWriteError());
        EXPECT_EQ(0x5A, ed.pageBuffer[last - ed.pageBase]);
    }
    EXPECT_EQ(0x7FFFFFFFu, sizeOf(path));
    std::vector<unsigned char> tail = readRange(path, 0x7FFFFFFF - 65536, 65536);
    std::vector<unsigned char> expected(65536, 0);
    expected.back() = 0x5A;
    EXPECT_EQ(expected, tail);
    DeleteFileA(path.c_str());
}

// A real file whose whole path has exactly `length` characters, in folders
// below the test's temporary folder.
std::string fileWithPathLength(size_t length)
{
    std::string base = tempPath("p");
    CreateDirectoryA(base.c_str(), NULL);
    std::string path = base;
    while (length - path.size() > 120) {
        path += "\\" + std::string(100, 'd');
        CreateDirectoryA(path.c_str(), NULL);
    }
    path += "\\" + std::string(length - path.size() - 1 - 4, 'f') + ".bin";
    if (path.size() != length) return "";
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return "";
    fputs("0123456789", f);
    fclose(f);
    return path;
}

// Every path up to the system's limit of 259 characters opens, from the
// Open dialog and the command line, also as a name relative to the current
// folder, and its recent entry, the full path, opens it again after a
// restart. A relative name whose full path passes the limit is refused.
TEST(LongPaths, EveryPathUpTo259CharactersOpensAndOpensAgainFromTheRecentFiles)
{
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    for (size_t length : {255u, 256u, 258u, 259u}) {
        std::string path = fileWithPathLength(length);
        ASSERT_EQ(length, path.size()) << "Wine could not create a path of " << length << " characters";
        std::string folder = path.substr(0, path.rfind('\\')), name = path.substr(folder.size() + 1);
        const std::string commandLines[] = {"", path, "\"" + path + "\"", name};
        for (const std::string &args : commandLines) {
            SCOPED_TRACE(std::to_string(length) + " " + (args.empty() ? "Open" : args.substr(0, 3)));
            ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
            {
                EditorSession s(args.empty() ? "\"\"" : args.c_str());
                SetCurrentDirectoryA(before);
                if (args.empty()) {
                    chooseInOpenDialog(path);
                    PostMessageA(ed.mainWnd, WM_COMMAND, IDM_OPEN, 0);
                    EXPECT_TRUE(waitFor([] { return ed.fileSize == 10; }));
                }
                EXPECT_EQ(args.empty() ? 1u : 0u, seenBoxes().size());
                EXPECT_EQ('9', ed.pageBuffer[9]);
                s.close();
            }
            EditorSession again("\"\"", SW_SHOWNORMAL, true);
            SendMessageA(ed.mainWnd, WM_COMMAND, IDM_RECENT1, 0);
            EXPECT_STREQ(path.c_str(), ed.fileName);
            EXPECT_EQ(10, ed.fileSize);
        }
        if (length < 259) continue;
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        answerNextBox(IDOK);
        EditorSession s((name + "x").c_str());
        SetCurrentDirectoryA(before);
        ASSERT_EQ(1u, seenBoxes().size());
        EXPECT_EQ("Error: The path is too long (more than 259 characters)", seenBoxes()[0].text);
        EXPECT_EQ(0, ed.recentCount);
    }
}

}  // namespace

namespace {

// Names that are not disk files (a pipe, devices, a raw disk) and a folder
// are refused from the command line without waiting, and not listed.
TEST(SpecialFiles, AreRefusedWithoutWaitingAndNotListed)
{
    if (!unixCommandsWork()) GTEST_SKIP() << "Unix commands cannot be started from this Wine";
    std::string fifo = unixScratch() + "/fifo";
    ASSERT_EQ(0, runUnix("rm -f " + fifo + " && mkfifo " + fifo));
    std::string folder = tempPath("a-folder");
    CreateDirectoryA(folder.c_str(), NULL);
    for (const std::string &path : {windowsPath(fifo), std::string("NUL"), std::string("COM1"),
                                    std::string("\\\\.\\PhysicalDrive0"), folder}) {
        SCOPED_TRACE(path);
        answerNextBox(IDOK);
        EditorSession s(path.c_str());
        ASSERT_EQ(1u, seenBoxes().size());
        EXPECT_EQ("Error opening file", seenBoxes()[0].text);
        EXPECT_EQ(-1, ed.fileHandle);
        EXPECT_EQ(0, ed.recentCount);
        EXPECT_TRUE(IsWindow(ed.mainWnd));
    }
}

}  // namespace
