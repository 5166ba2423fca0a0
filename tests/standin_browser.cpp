// A stand-in web browser for the Windows tests: it appends the command line it was started with,
// as Windows hands it over, to commandline.txt beside itself, and its arguments as a browser
// splits them, each followed by "|", to launches.txt.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

static void appendLine(const wchar_t *name, const std::wstring &line)
{
    wchar_t self[32768];
    std::wstring path(self, GetModuleFileNameW(nullptr, self, 32768));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + name;
    std::string utf8(4 * line.size() + 1, '\0'); // room for any UTF-16 text in UTF-8
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), &utf8[0],
                                    int(utf8.size()), nullptr, nullptr));
    if (FILE *file = _wfopen(path.c_str(), L"ab")) {
        fprintf(file, "%s\n", utf8.c_str());
        fclose(file);
    }
}

int main()
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring joined;
    for (int i = 1; i < count; ++i)
        joined += std::wstring(arguments[i]) + L'|';
    appendLine(L"launches.txt", joined);
    appendLine(L"commandline.txt", GetCommandLineW());
}
