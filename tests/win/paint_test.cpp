// The real hex view painted into its window, read back pixel by pixel: which
// character cells carry text, which carry the highlight colours, and that
// nothing is drawn while the save prompt's flag is set.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "wintest.h"

using namespace wintest;

namespace {

const COLORREF TEXT = RGB(10, 20, 200);
const COLORREF BACK = RGB(250, 250, 200);
const COLORREF HI_TEXT = RGB(255, 255, 0);
const COLORREF HI_BACK = RGB(200, 0, 0);

// The hex view's client area copied into memory.
class Capture {
public:
    Capture()
    {
        RECT r;
        GetClientRect(ed.hexViewWnd, &r);
        width = r.right;
        height = r.bottom;
        BITMAPINFO bi;
        memset(&bi, 0, sizeof bi);
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void *bits = NULL;
        HDC screen = GetDC(ed.hexViewWnd);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        pixels.assign((const uint32_t *)bits, (const uint32_t *)bits + width * height);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(ed.hexViewWnd, screen);
    }

    // Pixels of the colour in the character cell at (column, line) of the view.
    int count(int column, int line, COLORREF colour) const
    {
        uint32_t want = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        int n = 0;
        for (int y = line * ed.charHeight; y < (line + 1) * ed.charHeight && y < height; ++y)
            for (int x = column * ed.charWidth; x < (column + 1) * ed.charWidth && x < width; ++x)
                n += (pixels[y * width + x] & 0xFFFFFF) == want;
        return n;
    }
    bool drawn(int column, int line) const { return count(column, line, BACK) > 0; }
    bool highlighted(int column, int line) const { return count(column, line, HI_BACK) > 0; }
    bool hasText(int column, int line) const
    {
        return count(column, line, TEXT) > 0 || count(column, line, HI_TEXT) > 0;
    }

    // The view columns of a line that carry the highlight.
    std::set<int> highlightedColumns(int line) const
    {
        std::set<int> cols;
        for (int c = 0; c * ed.charWidth < width; ++c)
            if (highlighted(c, line)) cols.insert(c);
        return cols;
    }

    int width, height;
    std::vector<uint32_t> pixels;
};

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.started());
        std::vector<unsigned char> letters;
        for (char c = 'A'; c <= 'T'; ++c) letters.push_back((unsigned char)c);
        path = writeTempFile("letters.bin", letters);
        openFile(path.c_str());
        ASSERT_EQ(20, ed.fileSize);
        ed.textColor = TEXT;
        ed.backColor = BACK;
        ed.hiTextColor = HI_TEXT;
        ed.hiBackColor = HI_BACK;
        repaint();
        ASSERT_EQ(8, ed.charWidth);
        ASSERT_EQ(16, ed.charHeight);
    }

    void setFormat(uint8_t format)
    {
        ed.viewFormat = format;
        computeRowLayout();
        updateScrollRanges();
        repaint();
    }

    std::string composed(int32_t rowOffset)
    {
        char line[ROW_TEXT_MAX + 1];
        composeRow(line, sizeof line, ed.pageBuffer + rowOffset, rowOffset, ed.fileSize,
                   ed.viewFormat);
        return line;
    }

    std::set<int> columns(std::initializer_list<std::pair<int, int>> runs)
    {
        std::set<int> cols;
        for (auto r : runs)
            for (int c = r.first; c < r.first + r.second; ++c) cols.insert(c);
        return cols;
    }

    EditorSession session;
    std::string path;
};

TEST_F(PaintTest, RowsShowExactlyTheComposedText)
{
    Capture cap;
    for (int line = 1; line <= 2; ++line) {
        std::string text = composed((line - 1) * 16);
        ASSERT_EQ(75u, text.size());
        for (int c = 0; c < 75; ++c) {
            EXPECT_TRUE(cap.drawn(c, line)) << "line " << line << " column " << c;
            EXPECT_EQ(text[c] != ' ', cap.hasText(c, line)) << "line " << line << " column " << c;
        }
        EXPECT_FALSE(cap.drawn(75, line));
    }
    // Header: " Offset:" and blanks, 40 columns; nothing below the last row.
    EXPECT_TRUE(cap.hasText(1, 0));
    EXPECT_TRUE(cap.drawn(39, 0));
    EXPECT_FALSE(cap.drawn(40, 0));
    for (int c = 0; c < 75; ++c) EXPECT_FALSE(cap.drawn(c, 3)) << c;
    EXPECT_TRUE(cap.highlightedColumns(1).empty());
}

TEST_F(PaintTest, OneByteHighlightsItsTwoDigits)
{
    ed.selStart = 5;
    ed.selLength = 1;
    repaint();
    Capture cap;
    EXPECT_EQ(columns({{25, 2}, {64, 1}}), cap.highlightedColumns(1));
    EXPECT_TRUE(cap.highlightedColumns(2).empty());
    EXPECT_TRUE(cap.hasText(25, 1));
}

TEST_F(PaintTest, ThreeBytesHighlightBlankDigitsAndCharacters)
{
    ed.selStart = 3;
    ed.selLength = 3;
    repaint();
    Capture cap;
    EXPECT_EQ(columns({{18, 9}, {62, 3}}), cap.highlightedColumns(1));
}

TEST_F(PaintTest, RangeAcrossTwoRows)
{
    ed.selStart = 14;
    ed.selLength = 4;
    repaint();
    Capture cap;
    EXPECT_EQ(columns({{51, 6}, {73, 2}}), cap.highlightedColumns(1));
    EXPECT_EQ(columns({{9, 6}, {59, 2}}), cap.highlightedColumns(2));
}

TEST_F(PaintTest, SixteenBitUnitsWholeButOnlySelectedCharacters)
{
    setFormat(0x13);
    ed.selStart = 3;
    ed.selLength = 2;
    repaint();
    Capture cap;
    // Units 1 and 2 (bytes 2 to 5) from first to last digit; the characters
    // of bytes 3 and 4 only.
    EXPECT_EQ(columns({{15, 9}, {54, 2}}), cap.highlightedColumns(1));
}

TEST_F(PaintTest, SwappedTextHighlightsTheExchangedPosition)
{
    setFormat(VF_DEFAULT | VF_SWAP_TEXT);
    ed.selStart = 2;
    ed.selLength = 1;
    repaint();
    Capture cap;
    EXPECT_EQ(columns({{16, 2}, {62, 1}}), cap.highlightedColumns(1));
    std::string text = composed(0);
    EXPECT_EQ("BADCFEHGJILKNMPO", text.substr(59, 16));
}

TEST_F(PaintTest, NothingIsDrawnWhileFlushing)
{
    ed.selStart = 0;
    ed.selLength = 3;
    ed.flushing = 1;
    repaint();
    {
        Capture cap;
        for (int line = 0; line < 3; ++line)
            for (int c = 0; c < 76; ++c) {
                EXPECT_FALSE(cap.drawn(c, line)) << line << "," << c;
                EXPECT_FALSE(cap.highlighted(c, line)) << line << "," << c;
                EXPECT_FALSE(cap.hasText(c, line)) << line << "," << c;
            }
    }
    ed.flushing = 0;
    repaint();
    Capture cap;
    EXPECT_TRUE(cap.hasText(10, 1));
    EXPECT_TRUE(cap.highlighted(10, 1));
}

TEST_F(PaintTest, HorizontalScrollDropsTheHeaderAndShiftsRows)
{
    ed.hScrollPos = 45;
    repaint();
    Capture cap;
    for (int c = 0; c < 40; ++c) EXPECT_FALSE(cap.drawn(c, 0)) << c;
    std::string text = composed(0);
    for (int c = 0; c < 75 - 45; ++c)
        EXPECT_EQ(text[45 + c] != ' ', cap.hasText(c, 1)) << c;
    EXPECT_FALSE(cap.drawn(30, 1));
    ed.hScrollPos = 0;
}

TEST_F(PaintTest, DecimalOffsetsAndSignedUnits)
{
    setFormat(0x08);
    Capture cap;
    std::string text = composed(16);
    ASSERT_EQ(109u, text.size());
    EXPECT_EQ("        16 ", text.substr(0, 11));
    for (int c = 0; c < 109; ++c) EXPECT_EQ(text[c] != ' ', cap.hasText(c, 2)) << c;
}

TEST_F(PaintTest, FirstPaintAfterOpeningAcceptsClicksAgain)
{
    EXPECT_EQ(0, ed.fileJustOpened);
    std::string empty = writeTempFile("empty.bin", {});
    openFile(empty.c_str());
    repaint();
    EXPECT_EQ(1, ed.fileJustOpened);    // an empty file keeps ignoring clicks
    Capture cap;
    EXPECT_TRUE(cap.drawn(0, 0));
    EXPECT_FALSE(cap.drawn(0, 1));
}

TEST(PaintAtStart, TheFirstPaintUsesTheSystemColours)
{
    // The command-line file is missing: its error box is up over the view
    // as the first paint left it.
    COLORREF back = GetSysColor(COLOR_WINDOW);
    ASSERT_NE(GetSysColor(COLOR_WINDOWTEXT), back);
    int headerBackground = -1;
    onNextBox([&](HWND box) {
        Capture cap;
        headerBackground = cap.count(2, 0, back);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EditorSession s(("\"" + tempPath("missing.bin") + "\"").c_str());
    ASSERT_EQ(1u, seenBoxes().size());
    EXPECT_EQ("Error opening file", seenBoxes()[0].text);
    EXPECT_GT(headerBackground, 0);
}

}  // namespace
