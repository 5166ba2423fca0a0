// A stand-in web browser for the Windows tests. It appends the command line it was started with,
// exactly as Windows hands it over, to commandline.txt beside itself, and its arguments as a
// browser splits them, each followed by "|", to launches.txt; then it ends.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

static void appendLine(const wchar_t *name, const std::wstring &line)
{
    wchar_t self[32768];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, 32768));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + name;
    // The text with its terminating NUL, which then becomes the line's end.
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr), '\n');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], int(utf8.size()), nullptr, nullptr);
    utf8.back() = '\n';
    if (FILE *file = _wfopen(path.c_str(), L"ab")) {
        fwrite(utf8.data(), 1, utf8.size(), file);
        fclose(file);
    }
}

int wmain()
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring joined;
    for (int i = 1; i < count; ++i)
        joined += std::wstring(arguments[i]) + L'|';
    appendLine(L"launches.txt", joined);
    appendLine(L"commandline.txt", GetCommandLineW());
    return 0;
}
