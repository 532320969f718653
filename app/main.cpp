#include "app/PiboApp.h"
#include "res/module.h"

// The one application object, constructed before anything else runs.
CPiboApp theApp;

int main(int argc, char* argv[]) {
    return AfxWinMain(&g_piboModule, argc, argv);
}
