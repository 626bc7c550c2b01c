#include "shell/ProgramState.h"

GameSettings gameSettings;
GameSettings userSettings;
std::atomic<bool> runningFlag{true};
std::atomic<bool> doneFlag{false};
int32_t textOffsetX = 0;
int32_t textOffsetY = 0;
Font primaryFont;
Font secondaryFont;
Picture menuBackground;
Scenario scenario;
