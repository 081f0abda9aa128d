#include "app/Lumengate.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    return theApp.Main(instance, cmdLine);
}
