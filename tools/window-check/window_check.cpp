// window-check CLASS [minimise|restore]
// Prints, as one line of JSON, what the system tells another process about
// the first top-level window of class CLASS (FindWindow), its owner window,
// the foreground window (class names, titles in UTF-8, visibility, whether
// minimised) and the titles of the visible windows the owner owns.
// "minimise" first sends the window the minimise command of its minimise box;
// "restore" sends its owner the restore command of its task-bar entry.
// Exit code 0 when such a window exists, 1 when not, 2 on wrong usage.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string describe(HWND window)
{
    if (!window)
        return "null";
    wchar_t className[256] = {};
    const int classLength = GetClassNameW(window, className, 256);
    wchar_t title[512] = {};
    const int titleLength = GetWindowTextW(window, title, 512);
    RECT frame{};
    GetWindowRect(window, &frame);
    char geometry[96];
    std::snprintf(geometry, sizeof geometry, "[%ld,%ld,%ld,%ld]", frame.left, frame.top, frame.right - frame.left,
                  frame.bottom - frame.top);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return std::string("{\"class\":") + quoted(utf8(className, classLength))
        + ",\"title\":" + quoted(utf8(title, titleLength))
        + ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false")
        + ",\"iconic\":" + (IsIconic(window) ? "true" : "false")
        + ",\"appWindow\":" + ((exStyle & WS_EX_APPWINDOW) ? "true" : "false")
        + ",\"toolWindow\":" + ((exStyle & WS_EX_TOOLWINDOW) ? "true" : "false")
        + ",\"frame\":" + geometry + "}";
}

// The titles of the visible top-level windows that `owner` owns.
std::string ownedVisible(HWND owner)
{
    struct Search {
        HWND owner;
        std::string titles;
    } search{owner, {}};
    if (owner)
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window)) {
                    wchar_t title[512] = {};
                    const int length = GetWindowTextW(window, title, 512);
                    if (!s->titles.empty())
                        s->titles += ',';
                    s->titles += quoted(utf8(title, length));
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    return "[" + search.titles + "]";
}

// Sends a system command as the window's own box or task-bar entry would,
// waiting until the window has handled it.
void sendCommand(HWND window, WPARAM command)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string action = argc == 3 ? argv[2] : "";
    if (argc < 2 || argc > 3 || (argc == 3 && action != "minimise" && action != "restore")) {
        std::fprintf(stderr, "usage: window-check CLASS [minimise|restore]\n");
        return 2;
    }
    HWND window = FindWindowA(argv[1], nullptr);
    const HWND owner = window ? GetWindow(window, GW_OWNER) : nullptr;
    if (window && action == "minimise")
        sendCommand(window, SC_MINIMIZE);
    if (owner && action == "restore")
        sendCommand(owner, SC_RESTORE);
    const HWND foreground = GetForegroundWindow();
    std::printf("{\"found\":%s,\"window\":%s,\"owner\":%s,\"ownedVisible\":%s,\"foreground\":%s,"
                "\"ownerOfForeground\":%s}\n",
                window ? "true" : "false", describe(window).c_str(), describe(owner).c_str(), ownedVisible(owner).c_str(),
                describe(foreground).c_str(), describe(foreground ? GetWindow(foreground, GW_OWNER) : nullptr).c_str());
    return window ? 0 : 1;
}
