#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "tools/lsp/StandardStreams.h"

void MakeStandardStreamsBinary() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}
