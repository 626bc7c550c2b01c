#include "app/ProgramState.h"

GameSettings gameSettings;
GameSettings userSettings;
Scenario scenario;
