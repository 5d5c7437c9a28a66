// Scrolls the running editor's hex view to the end of its file and waits
// until the title shows the new position; prints the title.
#include <windows.h>
#include <stdio.h>
#include <string.h>

int main()
{
    HWND main = NULL;
    for (int i = 0; i < 300 && !main; ++i) {
        main = FindWindowA("QuillonWClass", NULL);
        if (!main) Sleep(50);
    }
    HWND view = main ? FindWindowExA(main, NULL, "QuillonbaseClass", NULL) : NULL;
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
