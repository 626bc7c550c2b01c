#include "walk/StateKey.h"

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

void AddVariables(std::string& key, const std::map<std::string, Value>& variables,
                  const std::set<std::string>& read) {
    std::string part;
    long long count = 0;
    for (const auto& [name, value] : variables) {
        if (read.count(name) == 0) continue;
        Add(part, name);
        Add(part, value.type);
        Add(part, value.type == NumberValue ? std::to_string(value.number) : value.text);
        ++count;
    }
    Add(key, count);
    key += part;
}

}  // namespace

std::string StateKey(const RunState& run, const SceneState& scene,
                     const std::set<std::string>& read) {
    std::string key;
    Add(key, run.status);
    Add(key, run.nextStatement);
    AddVariables(key, run.variables, read);
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
