#include "app/ProgramState.h"

GameSettings gameSettings;
GameSettings userSettings;
Scenario scenario;
std::unique_ptr<StartPoint> startPoint;
