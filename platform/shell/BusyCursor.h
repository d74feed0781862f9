#pragma once

#include <cstdint>

namespace shell {

// The wait cursor over every window of the program while it lives, for work on a large
// picture that takes long enough to notice. End it before a dialog or a message shows.
class BusyCursor {
public:
    // Opening, saving, turning or resetting a picture of more pixels than this takes a
    // noticeable moment.
    static constexpr int64_t kLargePicture = 12'000'000;

    // Shows the wait cursor when shown is true; does nothing otherwise.
    explicit BusyCursor(bool shown = true);
    // Shows it for work on a picture of this size when the picture is large.
    BusyCursor(int64_t width, int64_t height) : BusyCursor(width * height > kLargePicture) {}
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // How often a wait cursor has been shown in this process.
    static int TimesShown();

private:
    bool shown_;
};

} // namespace shell
