// The typing tool's whole life, from the application object to Exit.
#pragma once

#include <functional>

// Runs the program. `atFirstIdle`, when given, runs once the event loop is
// first idle after start-up (the start-up benchmark ends the program there).
int TavimoMain(int argc, char** argv, const std::function<void()>& atFirstIdle = {});
