// A whole search through a 64 MiB file in the real editor under Wine: its
// wall time next to the bound the timer design sets (search ticks x the
// measured tick period), and how long a message posted while it runs waits
// before the message loop takes it.
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "document/document.h"
#include "document/editor_state.h"
#include "search/matcher.h"
#include "search/search.h"
#include "shell/shell.h"
#include "wintest.h"

namespace {

const UINT PROBE = WM_APP + 7;
LARGE_INTEGER frequency;
HHOOK hook;
int searchTicks;
bool quitPosted;
DWORD mainThread;
volatile LONG stopProbes;
double probeSent[100000];
std::vector<double> waits, waitAt;
double searchBegan;

double now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)frequency.QuadPart;
}

// The period of a 1 ms thread timer killed and started again at each tick,
// as the message loop does during a search.
double tickPeriod(int ticks)
{
    UINT_PTR id = SetTimer(NULL, 0, 1, NULL);
    double start = now();
    int seen = 0;
    MSG m;
    while (seen < ticks && GetMessageA(&m, NULL, 0, 0) > 0) {
        if (m.message == WM_TIMER && m.hwnd == NULL && m.wParam == id) {
            KillTimer(NULL, id);
            ++seen;
            id = SetTimer(NULL, 0, 1, NULL);
        } else {
            DispatchMessageA(&m);
        }
    }
    KillTimer(NULL, id);
    return (now() - start) / ticks;
}

LRESULT CALLBACK watch(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG *m = (MSG *)lParam;
        if (m->message == WM_TIMER && m->hwnd == NULL && m->lParam == 0 && ed.searching) ++searchTicks;
        if (m->message == PROBE && m->wParam < 100000 && ed.searching) {
            waits.push_back(now() - probeSent[m->wParam]);
            waitAt.push_back(probeSent[m->wParam] - searchBegan);
        }
        if (!ed.searching && !quitPosted) {
            quitPosted = true;
            PostQuitMessage(0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

DWORD WINAPI postProbes(void *)
{
    for (int k = 0; k < 100000 && !stopProbes; ++k) {
        probeSent[k] = now();
        PostThreadMessageA(mainThread, PROBE, (WPARAM)k, 0);
        Sleep(3 + k % 7);
    }
    return 0;
}

std::string makeFile(int32_t size, int32_t at, const unsigned char *bytes, int32_t count)
{
    std::string path = wintest::tempPath("search-bench.bin");
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return "";
    std::vector<unsigned char> block(1 << 20, 0);
    for (int32_t done = 0; done < size; done += (int32_t)block.size()) {
        int32_t n = size - done < (int32_t)block.size() ? size - done : (int32_t)block.size();
        fwrite(block.data(), 1, (size_t)n, f);
    }
    fseek(f, at, SEEK_SET);
    fwrite(bytes, 1, (size_t)count, f);
    fclose(f);
    return path;
}

// The matcher's cost per byte in this build (32-bit, the C library of
// Wine), over a window of random bytes that does not hold the pattern.
void sliceCost(const unsigned char *needle, int32_t length)
{
    std::vector<unsigned char> window(PAGE_SIZE);
    unsigned x = 12345;
    for (unsigned char &b : window) b = (unsigned char)((x = x * 1103515245u + 12345u) >> 16);
    MatchQuery q = {needle, length, 0, 0, 0, PAGE_SIZE, 0};
    const int reps = 300;
    double start = now();
    int32_t sum = 0;
    for (int i = 0; i < reps; ++i) sum += matchSlice(window.data(), 0, PAGE_SIZE, q, 0).nextBase;
    double slice = (now() - start) / reps / PAGE_SIZE * 1e9;
    start = now();
    for (int i = 0; i < reps; ++i) {
        const unsigned char *p = window.data(), *end = p + PAGE_SIZE;
        while (p < end && (p = (const unsigned char *)memchr(p, needle[0], (size_t)(end - p))) != NULL) {
            ++p;
            ++sum;
        }
    }
    double chr = (now() - start) / reps / PAGE_SIZE * 1e9;
    printf("One slice in this build: %.3f ns per byte (memchr walk %.3f ns per byte)%s\n", slice, chr,
           sum == 0 ? "." : "");
}

}  // namespace

int main()
{
    QueryPerformanceFrequency(&frequency);
    mainThread = GetCurrentThreadId();
    double period = tickPeriod(200);

    const int32_t size = 64 * 1024 * 1024, at = size - 1000;
    const unsigned char needle[] = {0xde, 0xad, 0xbe, 0xef, 0x01, 0x23, 0x45, 0x67};
    std::string path = makeFile(size, at, needle, sizeof needle);
    sliceCost(needle, sizeof needle);

    wintest::EditorSession session;
    if (!session.started() || path.empty()) {
        printf("could not start the editor\n");
        return 1;
    }
    openFile(path.c_str());
    memcpy(ed.pattern, needle, sizeof needle);
    ed.patternLength = sizeof needle;
    ed.searchOptions = 0x02;
    ed.foldCase = 0;

    hook = SetWindowsHookExA(WH_GETMESSAGE, watch, NULL, mainThread);
    HANDLE prober = CreateThread(NULL, 0, postProbes, NULL, 0, NULL);
    double start = now();
    searchBegan = start;
    startSearch(SEARCH_FIND);
    runMessageLoop();
    double wall = now() - start;
    InterlockedExchange(&stopProbes, 1);
    WaitForSingleObject(prober, 5000);
    CloseHandle(prober);
    UnhookWindowsHookEx(hook);

    double bound = searchTicks * period;
    printf("Whole search through %d bytes under Wine (pattern at %d)\n", size, at);
    printf("  found at                %ld\n", (long)ed.lastFound);
    printf("  tick period             %.2f ms (200 ticks of a 1 ms thread timer)\n", period * 1e3);
    printf("  search ticks            %d (two windows of %d bytes each)\n", searchTicks, PAGE_SIZE);
    printf("  bound ticks x period    %.2f s\n", bound);
    printf("  wall time               %.2f s (%+.1f %% of the bound)\n", wall, (wall / bound - 1) * 100);
    if (!waits.empty()) {
        std::vector<double> sorted = waits;
        std::sort(sorted.begin(), sorted.end());
        size_t over = 0, worstAt = 0;
        double sum = 0;
        for (size_t i = 0; i < waits.size(); ++i) {
            sum += waits[i];
            over += waits[i] > period;
            if (waits[i] > waits[worstAt]) worstAt = i;
        }
        auto pct = [&](double p) { return sorted[(size_t)(p * (sorted.size() - 1))] * 1e3; };
        printf("  posted message waits    %zu messages: mean %.2f ms, median %.2f, 99th %.2f, worst %.2f ms\n",
               waits.size(), sum / waits.size() * 1e3, pct(0.5), pct(0.99), sorted.back() * 1e3);
        printf("                          %zu waited longer than one tick (%.2f ms); the worst was posted %.2f s in\n",
               over, period * 1e3, waitAt[worstAt]);
        for (size_t i = 0; i < waits.size(); ++i)
            if (waits[i] > period) printf("                          %.2f ms, posted %.3f s in\n", waits[i] * 1e3, waitAt[i]);
    }
    DeleteFileA(path.c_str());
    return ed.lastFound == at ? 0 : 1;
}
