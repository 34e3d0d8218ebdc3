// Stands in for a system library planted beside the program: a process that loads it leaves "<this file>.loaded".
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t mark[MAX_PATH + 8];
    if (const DWORD length = GetModuleFileNameW(self, mark, MAX_PATH); reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH)
        CloseHandle(CreateFileW(lstrcatW(mark, L".loaded"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
