// Settings and recent files with the real registry: what a start reads, what
// the end of a session writes, the File menu's recent items, and values in
// the registry that are too long or of the wrong type.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "shell/settings.h"
#include "wintest.h"

using namespace wintest;

namespace {

const char keyName[] = "Software\\Ostrel\\Quillon";
const char noFile[] = "\"\"";   // the command line of a start without a file

void setValue(const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyName, 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &key, NULL));
    RegSetValueExA(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
}

void setText(const char *name, const std::string &text)
{
    setValue(name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}

// The stored text, or "<none>" when the value does not exist.
std::string stored(const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char text[1024];
    DWORD size = sizeof text, type = 0;
    LONG r = RegQueryValueExA(key, name, NULL, &type, (BYTE *)text, &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return "<none>";
    EXPECT_EQ((DWORD)REG_SZ, type) << name;
    return std::string(text, size ? size - 1 : 0);
}

// The File popup's items, separators as "-".
std::vector<std::string> fileMenu()
{
    std::vector<std::string> items;
    HMENU file = GetSubMenu(GetMenu(ed.mainWnd), 0);
    for (int i = 0; i < GetMenuItemCount(file); ++i) {
        char text[300] = "";
        UINT state = GetMenuState(file, i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back("-");
            continue;
        }
        GetMenuStringA(file, i, text, sizeof text, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> menuWith(std::vector<std::string> recent)
{
    std::vector<std::string> items = {"&Open\tCtrl+O", "&Go to offset\tCtrl+G", "-", "-"};
    for (size_t i = 0; i < recent.size(); ++i)
        items.push_back("&" + std::to_string(i + 1) + " " + recent[i]);
    if (!recent.empty()) items.push_back("-");
    items.push_back("E&xit\tAlt+X");
    return items;
}

TEST(Settings, FirstStartHasDefaultsAndNoRecentItems)
{
    EditorSession s;
    ASSERT_TRUE(s.started());
    EXPECT_EQ(0x11, ed.viewFormat);
    EXPECT_EQ(0, ed.searchOptions);
    EXPECT_EQ(1, ed.ignoreCase);
    EXPECT_EQ(5, ed.placementValuesMissing);
    EXPECT_EQ(0, ed.recentCount);
    EXPECT_EQ(0, ed.recentSeparator);
    EXPECT_STREQ("", ed.openDir);
    EXPECT_STREQ("", ed.helpDir);
    EXPECT_EQ(menuWith({}), fileMenu());
}

TEST(Settings, RecentFilesInTheMenuAndTheRegistry)
{
    std::vector<std::string> paths;
    for (const char *name : {"a.bin", "b.bin", "c.bin", "d.bin", "e.bin"})
        paths.push_back(writeTempFile(name, patternBytes(32)));
    {
        EditorSession s;
        openFile(paths[0].c_str());
        openFile(paths[1].c_str());
        openFile(paths[0].c_str());
        EXPECT_EQ(menuWith({paths[0], paths[1]}), fileMenu());
        EXPECT_EQ(1, ed.recentSeparator);

        for (const std::string &p : paths) openFile(p.c_str());
        EXPECT_EQ(menuWith({paths[4], paths[3], paths[2], paths[1]}), fileMenu());

        addRecentFile("C:\\DATA\\A.BIN");
        addRecentFile("c:\\data\\a.bin");
        EXPECT_EQ(menuWith({"c:\\data\\a.bin", paths[4], paths[3], paths[2]}), fileMenu());
        s.close();
        EXPECT_EQ("c:\\data\\a.bin", stored("File1"));
        EXPECT_EQ(paths[2], stored("File4"));
    }
    {
        EditorSession again(noFile, SW_SHOWNORMAL, true);
        EXPECT_EQ(4, ed.recentCount);
        EXPECT_EQ(menuWith({"c:\\data\\a.bin", paths[4], paths[3], paths[2]}), fileMenu());
        // Entry 2 of the menu ("&2 ...", command 901) opens that file again.
        SendMessageA(ed.mainWnd, WM_COMMAND, IDM_RECENT1 + 1, 0);
        EXPECT_STREQ(paths[4].c_str(), ed.fileName);
        EXPECT_EQ(menuWith({paths[4], "c:\\data\\a.bin", paths[3], paths[2]}), fileMenu());

        // A name relative to the current directory is kept as its full path,
        // which opens the same file from another current directory.
        char before[MAX_PATH];
        GetCurrentDirectoryA(sizeof before, before);
        std::string folder = paths[0].substr(0, paths[0].rfind('\\'));
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        openFile("a.bin");
        SetCurrentDirectoryA("C:\\");
        openFile("");
        SendMessageA(ed.mainWnd, WM_COMMAND, IDM_RECENT1, 0);
        SetCurrentDirectoryA(before);
        EXPECT_EQ(paths[0], std::string(ed.recentFiles[0]));
        EXPECT_EQ(32, ed.fileSize);
    }
}

TEST(Settings, SessionEndWritesAndNextStartReads)
{
    {
        EditorSession s;
        MoveWindow(ed.mainWnd, 100, 80, 500, 400, TRUE);
        pump();
        ed.viewFormat = 0x21;
        ed.searchOptions = 3;
        ed.ignoreCase = 1;
        lstrcpyA(ed.openDir, "C:\\SOME\\DIR\\");
        s.close();
    }
    EXPECT_EQ("31000", stored("default"));
    EXPECT_EQ("33", stored("Format"));
    EXPECT_EQ("100", stored("Left"));
    EXPECT_EQ("80", stored("Top"));
    EXPECT_EQ("500", stored("Width"));
    EXPECT_EQ("400", stored("Height"));
    EXPECT_EQ("0", stored("Showcmd"));
    EXPECT_EQ("C:\\SOME\\DIR\\", stored("OpenDir"));
    EXPECT_EQ("<none>", stored("File1"));
    EXPECT_EQ("<none>", stored("HDir"));

    EditorSession again(noFile, SW_SHOWNORMAL, true);
    EXPECT_EQ(0, ed.placementValuesMissing);
    RECT r;
    GetWindowRect(ed.mainWnd, &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(80, r.top);
    EXPECT_EQ(500, r.right - r.left);
    EXPECT_EQ(400, r.bottom - r.top);
    EXPECT_EQ(0x21, ed.viewFormat);
    EXPECT_EQ(10, ed.offsetChars);          // decimal offsets
    EXPECT_EQ(3, ed.searchOptions);
    EXPECT_STREQ("C:\\SOME\\DIR\\", ed.openDir);
}

TEST(Settings, ClosedMaximizedStartsMaximized)
{
    {
        EditorSession s;
        MoveWindow(ed.mainWnd, 50, 60, 450, 350, TRUE);
        ShowWindow(ed.mainWnd, SW_MAXIMIZE);
        pump();
        EXPECT_EQ(4, ed.showState);
        s.close();
    }
    EXPECT_EQ("4", stored("Showcmd"));
    EXPECT_EQ("450", stored("Width"));

    EditorSession again(noFile, SW_SHOWNORMAL, true);
    EXPECT_TRUE(IsZoomed(ed.mainWnd));
    ShowWindow(ed.mainWnd, SW_RESTORE);
    pump();
    RECT r;
    GetWindowRect(ed.mainWnd, &r);
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(450, r.right - r.left);
}

TEST(Settings, StoredValuesAsTheyAreRead)
{
    const struct {
        const char *name, *text;
        int placementValuesMissing;
        uint8_t format, options, ignoreCase;
    } cases[] = {
        {"default", "31000", 5, 0x11, 3, 1},
        {"default", "2", 5, 0x11, 2, 1},
        {"default", "10000", 5, 0x11, 1, 0},
        {"default", "9", 5, 0x11, 0, 1},
        {"Format", "33", 5, 0x21, 0, 1},
        {"Format", "17", 5, 0x11, 0, 1},
        {"Format", "6", 5, 0x11, 0, 1},     // no such unit size: the default
        {"Format", "268", 5, 0x0C, 0, 1},   // low 8 bits
    };
    for (const auto &c : cases) {
        deleteSettings();
        setText(c.name, c.text);
        EditorSession s(noFile, SW_SHOWNORMAL, true);
        EXPECT_EQ(c.format, ed.viewFormat) << c.name << "=" << c.text;
        EXPECT_EQ(c.options, ed.searchOptions) << c.name << "=" << c.text;
        EXPECT_EQ(c.ignoreCase, ed.ignoreCase) << c.name << "=" << c.text;
    }
}

TEST(Settings, IncompletePlacementGivesTheDefaultPlace)
{
    const struct {
        const char *left, *top, *width, *height, *show;
        int missing;
    } cases[] = {
        {"10", "20", "300", "200", "0", 0},
        {"10", "20", "0", "200", "0", 1},
        {"10", "20", "300", "-5", "0", 1},
        {"10", "20", "300", "200", nullptr, 1},
        {"x", "20", "300", "200", "0", 0},      // unreadable left counts as present (0)
        {"10", "20", "abc", "200", "0", 1},
        {nullptr, nullptr, nullptr, nullptr, nullptr, 5},
    };
    for (const auto &c : cases) {
        deleteSettings();
        setText("Format", "17");
        if (c.left) setText("Left", c.left);
        if (c.top) setText("Top", c.top);
        if (c.width) setText("Width", c.width);
        if (c.height) setText("Height", c.height);
        if (c.show) setText("Showcmd", c.show);
        EditorSession s(noFile, SW_SHOWNORMAL, true);
        EXPECT_EQ(c.missing, ed.placementValuesMissing);
        RECT r;
        GetWindowRect(ed.mainWnd, &r);
        if (c.missing == 0)
            EXPECT_EQ(300, r.right - r.left);
        else
            EXPECT_GT(r.right - r.left, 10) << "default place expected";
    }
}

TEST(Settings, MinimizedOnlyFirstRunWritesNoPlacement)
{
    {
        EditorSession s(noFile, SW_SHOWMINIMIZED);
        EXPECT_TRUE(IsIconic(ed.mainWnd));
        s.close();
    }
    for (const char *name : {"Left", "Top", "Width", "Height", "Showcmd"})
        EXPECT_EQ("<none>", stored(name)) << name;
    EXPECT_EQ("17", stored("Format"));
}

TEST(Settings, OversizedAndWronglyTypedValuesAreIgnored)
{
    deleteSettings();
    DWORD number = 640;
    setValue("Width", REG_DWORD, &number, sizeof number);
    setValue("Height", REG_BINARY, "\x90\x01", 2);
    setValue("Left", REG_SZ, "12", 2);                      // no terminating zero
    setValue("Top", REG_SZ, "34", 3);
    setValue("Showcmd", REG_MULTI_SZ, "0\0\0", 3);
    setText("Format", std::string(40, '1'));                // longer than its 16 characters
    setValue("default", REG_BINARY, "31000", 5);
    setText("File1", "C:\\" + std::string(300, 'f'));      // longer than an entry
    setText("File2", "C:\\second.bin");
    setText("File3", "\\\\.\\PhysicalDrive0");              // a device
    setText("File4", "C:\\fourth.bin");
    setText("OpenDir", "C:\\" + std::string(300, 'o'));
    setText("Hdir", std::string(250, 'h'));                 // fits, but not with quillon95.hlp

    EditorSession s(noFile, SW_SHOWNORMAL, true);
    ASSERT_TRUE(s.started());
    EXPECT_EQ(3, ed.placementValuesMissing);
    loadSettings();                         // again, before the window's own sizes
    EXPECT_EQ(12, ed.windowLeft);
    EXPECT_EQ(34, ed.windowTop);
    EXPECT_EQ(0, ed.windowWidth);
    EXPECT_EQ(0, ed.windowHeight);
    EXPECT_EQ(3, ed.placementValuesMissing);
    EXPECT_EQ(0x11, ed.viewFormat);
    EXPECT_EQ(0, ed.searchOptions);
    EXPECT_EQ(2, ed.recentCount);               // the unusable entries are left out, the others stay
    EXPECT_EQ(menuWith({"C:\\second.bin", "C:\\fourth.bin"}), fileMenu());
    EXPECT_STREQ("", ed.openDir);
    EXPECT_STREQ("", ed.helpDir);

    char small[4];
    memset(small, '#', sizeof small);
    EXPECT_EQ(1, readSetting("Top", small, 3));
    EXPECT_STREQ("34", small);
    EXPECT_EQ('#', small[3]);
    EXPECT_EQ(0, readSetting("Width", small, 3));
    EXPECT_STREQ("", small);
    EXPECT_EQ(0, readSetting("No such value", small, 3));

    s.close();                              // the list is written back without them
    EXPECT_EQ("C:\\second.bin", stored("File1"));
    EXPECT_EQ("C:\\fourth.bin", stored("File2"));
    EXPECT_EQ("<none>", stored("File3"));
    EXPECT_EQ("<none>", stored("File4"));
}

TEST(Settings, HelpDirectoryFromTheInstaller)
{
    deleteSettings();
    setText("Hdir", "C:\\QUILLON\\");
    EditorSession s(noFile, SW_SHOWNORMAL, true);
    EXPECT_STREQ("C:\\QUILLON\\quillon95.hlp", ed.helpDir);
    s.close();
    EXPECT_EQ("C:\\QUILLON\\", stored("HDir"));  // never written by the editor
}

}  // namespace
