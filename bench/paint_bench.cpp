// The time of one full repaint of a 1600 x 1200 hex view in the default
// format, against two others measured in the same run:
//  - its limit: the same window with the same invalidation, erase and
//    BeginPaint/EndPaint (the caret hidden and shown by them), and a paint
//    that only draws the same lines, composed beforehand;
//  - the same lines drawn with bare TextOutA calls through GetDC.
// The first ratio is the program's own cost, the second adds the
// platform's.
//   bench_paint.exe FILE
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "document/editor_state.h"
#include "hexview/hexview.h"
#include "hexview/rowtext.h"
#include "shell/shell.h"

namespace {

enum { VIEW_WIDTH = 1600, VIEW_HEIGHT = 1200, ROUNDS = 61 };

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)frequency.QuadPart;
}

void sizeView()
{
    RECT w;
    GetWindowRect(ed.mainWnd, &w);
    int width = w.right - w.left, height = w.bottom - w.top;
    for (int i = 0; i < 5; ++i) {
        MoveWindow(ed.mainWnd, 0, 0, width, height, TRUE);
        pump();
        RECT v;
        GetWindowRect(ed.hexViewWnd, &v);
        int dw = VIEW_WIDTH - (v.right - v.left), dh = VIEW_HEIGHT - (v.bottom - v.top);
        if (dw == 0 && dh == 0) break;
        width += dw;
        height += dh;
    }
}

double median(double *values, int n)
{
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && values[j - 1] > values[j]; --j) {
            double t = values[j];
            values[j] = values[j - 1];
            values[j - 1] = t;
        }
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void repaint()
{
    InvalidateRect(ed.hexViewWnd, NULL, TRUE);
    UpdateWindow(ed.hexViewWnd);
    GdiFlush();
}

// The lines of the view, composed beforehand: the header and the rows.
char text[256][ROW_TEXT_MAX + 1];
int lines;

void drawLines(HDC dc)
{
    SelectObject(dc, ed.viewFont);
    SetTextColor(dc, ed.textColor);
    SetBkColor(dc, ed.backColor);
    TextOutA(dc, 0, 0, ed.headerLine, HEADER_CHARS);
    for (int r = 1; r < lines; ++r) TextOutA(dc, 0, r * ed.charHeight, text[r], ed.rowChars);
}

WNDPROC viewProc;

// The view's own procedure but for its paint, which only draws the lines.
LRESULT CALLBACK drawOnlyProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT) return CallWindowProcA(viewProc, wnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    drawLines(dc);
    EndPaint(wnd, &ps);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bench_paint FILE\n");
        return 2;
    }
    char args[PATH_CHARS];
    snprintf(args, sizeof args, "\"%s\"", argv[1]);
    resetEditorState();
    if (!allocateBlocks()) return 1;
    HINSTANCE inst = GetModuleHandleA(NULL);
    if (!registerMainClass(inst) || !initInstance(inst, args, SW_SHOWNORMAL)) return 1;
    ed.viewFormat = VF_DEFAULT;
    computeRowLayout();
    sizeView();
    updateScrollRanges();
    for (int i = 0; i < 5; ++i) {
        repaint();
        pump();
    }
    RECT client;
    GetClientRect(ed.hexViewWnd, &client);
    if (ed.fileSize < 16 * ed.visibleRows) {
        fprintf(stderr, "bench_paint: the file does not fill the view\n");
        return 1;
    }

    lines = ed.visibleRows;
    if (lines > 256) lines = 256;
    for (int r = 1; r < lines; ++r)
        composeRow(text[r], sizeof text[r], ed.pageBuffer + (ed.topOffset - ed.pageBase) + 16 * (r - 1),
                   ed.topOffset + 16 * (r - 1), ed.fileSize, ed.viewFormat);

    // The three are measured in turns, and the medians compared, so that a
    // slow moment of the machine weighs on all alike.
    static double paints[ROUNDS], limits[ROUNDS], bares[ROUNDS];
    for (int i = 0; i < ROUNDS; ++i) {
        double start = now();
        repaint();
        paints[i] = now() - start;
        pump();

        viewProc = (WNDPROC)SetWindowLongPtrA(ed.hexViewWnd, GWLP_WNDPROC, (LONG_PTR)drawOnlyProc);
        start = now();
        repaint();
        limits[i] = now() - start;
        SetWindowLongPtrA(ed.hexViewWnd, GWLP_WNDPROC, (LONG_PTR)viewProc);
        pump();

        HDC dc = GetDC(ed.hexViewWnd);
        start = now();
        drawLines(dc);
        GdiFlush();
        bares[i] = now() - start;
        ReleaseDC(ed.hexViewWnd, dc);
        pump();
    }
    double paint = median(paints, ROUNDS), limit = median(limits, ROUNDS), bare = median(bares, ROUNDS);

    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    printf("repaint of a %ldx%ld view (client %ldx%ld, %d text lines, screen %dx%d), default format\n",
           (long)VIEW_WIDTH, (long)VIEW_HEIGHT, (long)client.right, (long)client.bottom, lines,
           screenW, screenH);
    printf("  one full repaint (median):          %8.3f ms\n", paint * 1000.0);
    printf("  its limit, a paint that only draws: %8.3f ms (median)\n", limit * 1000.0);
    printf("  %3d bare TextOutA calls:            %8.3f ms (median)\n", lines, bare * 1000.0);
    printf("  ratio to the limit (goal 1.10):     %8.2f\n", paint / limit);
    printf("  ratio to bare TextOutA:             %8.2f\n", paint / bare);

    DestroyWindow(ed.mainWnd);
    pump();
    freeBlocks();
    return 0;
}
