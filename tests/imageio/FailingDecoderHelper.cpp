// miravo-decoder as the tests build it: on a file that holds one of the marks below it
// fails as a decoder might on a hostile file; on any other it is the real helper.
#include "decoderhelper/HelperMain.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

int main(int argc, char** argv)
{
    RunDecoderHelper(argc, argv, [](std::span<const uint8_t> file) {
        auto holds = [file](std::string_view mark) {
            return std::search(file.begin(), file.end(), mark.begin(), mark.end()) != file.end();
        };
        if (holds("MIRAVO-ABORT")) {
            std::abort();
        }
        if (holds("MIRAVO-HANG")) {
            for (;;) {
                ::pause();
            }
        }
        if (holds("MIRAVO-MUTE")) {
            _exit(0); // ends without a word
        }
        if (holds("MIRAVO-SLOW")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
    });
}
