// A stand-in program for the process-control tests, copied under the names being tested.
//   probe wait EVENT   signals the named event, then stays until the test ends it
//   probe check NAME   exits with IsProcessRunning(NAME): shows whether a process counts itself
#include <windows.h>

#include "app/Process.h"

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && wcscmp(argv[1], L"check") == 0) return IsProcessRunning(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"wait") == 0) {
        HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
        if (ready) SetEvent(ready);
        Sleep(60000);  // the test ends it long before
    }
    return 0;
}
