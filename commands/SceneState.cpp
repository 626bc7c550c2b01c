#include "commands/SceneState.h"

SceneState scene;
