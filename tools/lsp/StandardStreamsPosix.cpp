#include "tools/lsp/StandardStreams.h"

// POSIX streams carry bytes as they are.
void MakeStandardStreamsBinary() {}
