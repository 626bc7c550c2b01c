#include "tests/e2e/VirtualDisplay.h"

#include <poll.h>
#include <unistd.h>

#include <stdexcept>

namespace e2e {

VirtualDisplay::VirtualDisplay(int width, int height) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    // Xvfb, as every virtual display is started, picks a free display number
    // and writes it to the pipe.
    server = std::make_unique<Process>(
        std::vector<std::string>{VELMORA_DISPLAY_SCRIPT, std::to_string(pipeFds[1]),
                                 std::to_string(width) + "x" + std::to_string(height)});
    close(pipeFds[1]);
    std::string number;
    pollfd waitFor{pipeFds[0], POLLIN, 0};
    char c;
    while (poll(&waitFor, 1, 10000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    name = ":" + number;
}

VirtualDisplay::~VirtualDisplay() = default;

}  // namespace e2e
