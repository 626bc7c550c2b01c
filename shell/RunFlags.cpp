#include "shell/RunFlags.h"

std::atomic<bool> runningFlag{true};
std::atomic<bool> doneFlag{false};
std::atomic<bool> endedFlag{false};
