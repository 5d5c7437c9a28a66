// For the fault tests: shell commands run as another (Unix) program would
// run them beside the program under test, for what only such a program can
// do under Wine (delete an open file, mount a small or read-only file
// system, take a drive away).
#ifndef QUILLON_FAULTS_UNIX_H
#define QUILLON_FAULTS_UNIX_H

#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace faults {

// A scratch folder on the Unix side, seen by Wine through drive Z:.
inline std::string unixScratch()
{
    static std::string dir;
    if (dir.empty()) {
        // Process ids of different Wine servers repeat: the tick count keeps
        // runs of other build folders apart.
        dir = "/tmp/quillon-faults-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        CreateDirectoryA(("Z:" + dir).c_str(), NULL);
    }
    return dir;
}

inline std::string windowsPath(const std::string &unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char &c : p)
        if (c == '/') c = '\\';
    return p;
}

// Runs a shell command and waits for it (10 s at most). Wine starts Unix
// programs without a process handle, so the command leaves its exit status
// in a file. Returns -1 when it could not run or did not finish.
inline int runUnix(const std::string &command)
{
    std::string done = unixScratch() + ".status";
    std::string doneWin = windowsPath(done);
    DeleteFileA(doneWin.c_str());
    std::string line = "/bin/sh -c \"(" + command + ") >/dev/null 2>&1; echo $? >" + done + ".tmp; mv " +
                       done + ".tmp " + done + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return -1;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    for (int waited = 0; waited < 10000; waited += 20) {
        FILE *f = fopen(doneWin.c_str(), "r");
        if (f) {
            int status = -1;
            if (fscanf(f, "%d", &status) != 1) status = -1;
            fclose(f);
            return status;
        }
        Sleep(20);
    }
    return -1;
}

inline bool unixCommandsWork() { return runUnix("true") == 0; }

// Removes the scratch folder when the test program ends (the tests unmount
// what they mounted in it first).
class ScratchCleanup : public ::testing::Environment {
public:
    void TearDown() override
    {
        std::string dir = unixScratch();
        runUnix("rm -rf " + dir);
        DeleteFileA(windowsPath(dir + ".status").c_str());
    }
};
static ::testing::Environment *const scratchCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

}  // namespace faults

#endif
