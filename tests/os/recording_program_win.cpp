// Stands in for MSINFO32.EXE: writes the number of its arguments into
// "started" beside itself, so a test sees that, and how, it was started.

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t **)
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"started";
    FILE *file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return 1;
    std::fprintf(file, "%d\n", argc - 1);
    return std::fclose(file) == 0 ? 0 : 1;
}
