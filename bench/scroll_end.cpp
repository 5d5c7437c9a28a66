// Scrolls the running editor's hex view to the end of its file and waits
// until the title shows the new position; prints the title.
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main()
{
    // The main window shows before its view is made.
    HWND main = NULL, view = NULL;
    for (int i = 0; i < 300 && !view; ++i) {
        main = FindWindowA("QuillonWClass", NULL);
        view = main ? FindWindowExA(main, NULL, "QuillonbaseClass", NULL) : NULL;
        if (!view) Sleep(50);
    }
    if (!view) {
        fprintf(stderr, "bench_scroll_end: no hex view\n");
        return 1;
    }
    PostMessageA(view, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    char title[512] = "";
    for (int i = 0; i < 200; ++i) {
        GetWindowTextA(main, title, sizeof title);
        if (strstr(title, " 99 %") || strstr(title, "100 %")) break;
        Sleep(50);
    }
    printf("%s\n", title);
    return 0;
}
