// Starts a program the way Explorer or a shortcut does: from a process
// without a console (this one is a window program), handing it no console
// and no standard handles. Waits for it and ends with its status, 100 when
// it could not be started.
//   start_like_explorer <program> [arguments...]

#include <windows.h>

#include <string>

int wmain(int argc, wchar_t **argv)
{
    std::wstring line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L'"';
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup,
                        &process))
        return 100;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
