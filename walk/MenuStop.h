#pragma once

#include <SDL_video.h>

#include <cstddef>
#include <string>
#include <vector>

#include "commands/Stage.h"
#include "script/Scenario.h"

// A menu met on the walk: the run and the scene as they stood at its first
// frame, and where a player clicks each choice that can be clicked. The
// scene is kept without its pictures' pixels, which come back by name, so
// that a long path of menus costs little memory. Putting it back lets the
// walk take one choice after another.
struct MenuStop {
    struct Click {
        size_t choice;
        int x, y;
    };

    // The menu now on stage, its choices placed on canvas.
    static MenuStop Save(const Scenario& script, const Stage& stage, const SDL_Surface* canvas);
    // The run and the scene back as they were; throws Exception when a
    // picture no longer loads.
    void Restore(Scenario& script, Stage& stage) const;
    bool Clickable(size_t choice) const;

    RunState run;
    SceneState scene;
    std::vector<Click> clicks;  // in the menu's order
    size_t next = 0;            // of clicks, to follow next
    int line = 0;               // of the menu
    int frame = 0;              // that shows it
    std::vector<std::string> path;
};
