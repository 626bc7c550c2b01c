#include "shell/Guarded.h"

#include <exception>

#include "core/Exception.h"
#include "core/Log.h"

void RunGuarded(void (*body)()) {
    try {
        body();
    } catch (const Exception& e) {
        FatalError("%s", e.Message());
    } catch (const char* text) {  // the volume check throws a plain string
        FatalError("%s", text);
    } catch (const std::exception& e) {
        FatalError("%s", e.what());
    }
}
