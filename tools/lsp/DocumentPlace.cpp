#include "tools/lsp/DocumentPlace.h"

#include "core/GamePaths.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

DocumentPlace PlaceOf(const std::string& uri) {
    DocumentPlace place;
    place.path = PathFromUri(uri);
    const std::string script = std::string("/") + paths::kScript;
    if (EndsWith(place.path, script))
        place.gameFolder = place.path.substr(0, place.path.size() - script.size() + 1);
    if (place.gameFolder.empty() && place.path == paths::kScript) place.gameFolder = ".";
    return place;
}
