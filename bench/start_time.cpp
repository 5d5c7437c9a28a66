// The editor's start time: from process creation to its main window being
// shown, RUNS times (default 10) on one file; prints each time and the
// median in milliseconds. The editor is closed with Exit after each run.
//   bench_start_time EDITOR.EXE FILE [RUNS]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

struct Found {
    DWORD processId;
    HWND wnd;
};

BOOL CALLBACK findShown(HWND wnd, LPARAM param)
{
    Found *found = (Found *)param;
    char name[32];
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == found->processId && GetClassNameA(wnd, name, sizeof name) &&
        lstrcmpA(name, "QuillonWClass") == 0 && IsWindowVisible(wnd)) {
        found->wnd = wnd;
        return FALSE;
    }
    return TRUE;
}

int compareTimes(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: bench_start_time EDITOR.EXE FILE [RUNS]\n");
        return 2;
    }
    int runs = argc > 3 ? atoi(argv[3]) : 10;
    if (runs < 1 || runs > 100) runs = 10;
    double times[100];
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int r = 0; r < runs; ++r) {
        char commandLine[1024];
        snprintf(commandLine, sizeof commandLine, "\"%s\" \"%s\"", argv[1], argv[2]);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        LARGE_INTEGER start, shown;
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
            fprintf(stderr, "bench_start_time: cannot start %s\n", argv[1]);
            return 1;
        }
        Found found = {process.dwProcessId, NULL};
        DWORD deadline = GetTickCount() + 30000;
        while (!found.wnd && GetTickCount() < deadline) {
            EnumWindows(findShown, (LPARAM)&found);
            if (!found.wnd) Sleep(1);
        }
        QueryPerformanceCounter(&shown);
        if (!found.wnd) {
            fprintf(stderr, "bench_start_time: no main window within 30 s\n");
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
        times[r] = 1000.0 * (double)(shown.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
        PostMessageA(found.wnd, WM_COMMAND, 110, 0);      // Exit
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        printf(" %.0f", times[r]);
    }
    qsort(times, (size_t)runs, sizeof *times, compareTimes);
    double median = runs % 2 ? times[runs / 2] : (times[runs / 2 - 1] + times[runs / 2]) / 2;
    printf(" ms\n  median of %d: %.1f ms\n", runs, median);
    return 0;
}
