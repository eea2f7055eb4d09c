// Tavimo: the tray typing tool. Nothing shows at start but the splash; the
// program then lives as an icon in the notification area until Exit.
#include "TavimoMain.h"

int main(int argc, char** argv) { return TavimoMain(argc, argv); }
