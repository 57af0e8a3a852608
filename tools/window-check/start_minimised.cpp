// start-minimised PROGRAM
// Starts PROGRAM as a shortcut set to "Minimised" does: with the show request
// "minimised, not activated" in its start-up information. Does not wait.
// Exit code 0 when the program started, 1 when not, 2 on wrong usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: start-minimised PROGRAM\n");
        return 2;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "start-minimised: cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
