#include "tools/storyboard/StateKey.h"

namespace {

// Every part carries its length and every list its count, so that no two
// different states give one key.
void Add(std::string& key, const std::string& part) {
    key += std::to_string(part.size());
    key += ':';
    key += part;
}

void Add(std::string& key, long long number) {
    Add(key, std::to_string(number));
}

}  // namespace

std::string StateKey(const RunState& run, const SceneState& scene) {
    std::string key;
    Add(key, run.status);
    Add(key, run.nextStatement);
    Add(key, static_cast<long long>(run.variables.size()));
    for (const auto& [name, value] : run.variables) {
        Add(key, name);
        Add(key, value.type);
        Add(key, value.type == NumberValue ? std::to_string(value.number) : value.text);
    }
    for (const std::string* part :
         {&scene.backgroundName, &scene.leftCharacterName, &scene.centerCharacterName,
          &scene.rightCharacterName, &scene.speakerName, &scene.lineText}) {
        Add(key, *part);
    }
    Add(key, static_cast<long long>(scene.choices.size()));
    for (const ChoiceItem& choice : scene.choices) {
        Add(key, choice.text);
        Add(key, choice.label);
    }
    Add(key, scene.menuMode);
    Add(key, scene.delayTime);
    return key;
}
