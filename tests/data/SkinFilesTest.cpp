#include "files/AppFiles.h"
#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ButtonRect {
    std::string name;
    int x, y, width, height;
};

// Where the windows hit-test and draw each button.
const std::vector<ButtonRect> MainButtons = {
    {"open", 465, 48, 57, 20},   {"close", 567, 9, 22, 19},    {"min", 545, 9, 23, 19},
    {"link3", 460, 635, 128, 30}, {"link2", 460, 680, 135, 21}, {"link1", 465, 519, 124, 39},
    {"save", 532, 48, 57, 20},   {"comp", 465, 78, 124, 20},   {"undo", 11, 676, 56, 22},
    {"reset", 77, 676, 56, 22},  {"rotate", 143, 676, 56, 22}, {"zoomIn", 209, 676, 56, 22},
    {"zoomOut", 275, 676, 56, 22}, {"line", 465, 108, 57, 20}, {"stretch", 465, 138, 57, 20},
    {"bc", 465, 168, 57, 20},    {"blur", 532, 108, 57, 20},   {"copy", 532, 138, 57, 20},
    {"zoom", 532, 168, 57, 20},  {"move", 341, 676, 56, 22},
};

const std::vector<ButtonRect> CompareButtons = {
    {"compclose", 566, 10, 22, 19},
    {"compsave", 456, 371, 129, 21},
};

const char* const StateSuffixes[] = {"_1", "_2", "_3"};

std::shared_ptr<gfx::Bitmap> Load(const std::string& name)
{
    auto bitmap = LoadAppImage(name);
    EXPECT_NE(bitmap, nullptr) << name << " is missing or unreadable";
    return bitmap;
}

int ChannelDistance(gfx::Argb a, gfx::Argb b)
{
    return std::max({std::abs(int(gfx::RedOf(a)) - int(gfx::RedOf(b))),
                     std::abs(int(gfx::GreenOf(a)) - int(gfx::GreenOf(b))),
                     std::abs(int(gfx::BlueOf(a)) - int(gfx::BlueOf(b)))});
}

// Mean per-channel difference between a state image and the window's normal look under it.
double MeanDifference(const gfx::Bitmap& state, const gfx::Bitmap& window, const ButtonRect& at)
{
    double total = 0;
    for (int y = 0; y < state.Height(); ++y) {
        for (int x = 0; x < state.Width(); ++x) {
            const gfx::Argb a = state.GetPixel(x, y);
            const gfx::Argb b = window.GetPixel(at.x + x, at.y + y);
            total += std::abs(int(gfx::RedOf(a)) - int(gfx::RedOf(b))) +
                     std::abs(int(gfx::GreenOf(a)) - int(gfx::GreenOf(b))) +
                     std::abs(int(gfx::BlueOf(a)) - int(gfx::BlueOf(b)));
        }
    }
    return total / (3.0 * state.Width() * state.Height());
}

// Every state image has its button's size, differs visibly from the normal look, and
// keeps the window's pixels at its corners so it sits seamlessly in the background.
void CheckStateImages(const std::string& background, const std::vector<ButtonRect>& buttons)
{
    const auto window = Load(background);
    ASSERT_NE(window, nullptr);
    for (const ButtonRect& button : buttons) {
        for (const char* suffix : StateSuffixes) {
            const std::string name = button.name + suffix + ".bmp";
            SCOPED_TRACE(name);
            const auto state = Load(name);
            ASSERT_NE(state, nullptr);
            ASSERT_EQ(state->Width(), button.width);
            ASSERT_EQ(state->Height(), button.height);
            EXPECT_GT(MeanDifference(*state, *window, button), 2.0) << "looks the same as the normal button";
            const int right = button.width - 1;
            const int bottom = button.height - 1;
            for (const auto& [cx, cy] : {std::pair{0, 0}, {right, 0}, {0, bottom}, {right, bottom}}) {
                EXPECT_LE(ChannelDistance(state->GetPixel(cx, cy), window->GetPixel(button.x + cx, button.y + cy)), 40)
                    << "corner " << cx << "," << cy << " does not match the background";
            }
            for (int y = 0; y < state->Height(); ++y) {
                for (int x = 0; x < state->Width(); ++x) {
                    ASSERT_EQ(gfx::AlphaOf(state->GetPixel(x, y)), 255u) << "state images are opaque";
                }
            }
        }
    }
}

} // namespace

TEST(SkinFiles, WindowBackgroundsHaveTheWindowSizes)
{
    const struct {
        const char* name;
        int width, height;
    } cases[] = {{"main.bmp", 600, 710}, {"compare.bmp", 600, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = Load(c.name);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->Width(), c.width);
        EXPECT_EQ(bitmap->Height(), c.height);
    }
}

TEST(SkinFiles, MainWindowButtonStatesFitTheirRectangles) { CheckStateImages("main.bmp", MainButtons); }

TEST(SkinFiles, CompareWindowButtonStatesFitTheirRectangles) { CheckStateImages("compare.bmp", CompareButtons); }

TEST(SkinFiles, HoverPressedAndDisabledLooksDifferFromEachOther)
{
    std::vector<ButtonRect> all = MainButtons;
    all.insert(all.end(), CompareButtons.begin(), CompareButtons.end());
    for (const ButtonRect& button : all) {
        SCOPED_TRACE(button.name);
        const auto hover = Load(button.name + "_1.bmp");
        const auto pressed = Load(button.name + "_2.bmp");
        const auto disabled = Load(button.name + "_3.bmp");
        ASSERT_TRUE(hover && pressed && disabled);
        const ButtonRect origin{button.name, 0, 0, button.width, button.height};
        EXPECT_GT(MeanDifference(*hover, *pressed, origin), 2.0);
        EXPECT_GT(MeanDifference(*hover, *disabled, origin), 2.0);
        EXPECT_GT(MeanDifference(*pressed, *disabled, origin), 2.0);
    }
}

TEST(SkinFiles, HelpPanelAreaIsWhiteLikeThePanelTheWindowFills)
{
    const auto window = Load("main.bmp");
    ASSERT_NE(window, nullptr);
    for (int y = 295; y < 495; ++y) {
        for (int x = 475; x < 585; ++x) {
            ASSERT_EQ(window->GetPixel(x, y), gfx::colors::White) << x << "," << y;
        }
    }
}

TEST(SkinFiles, SliderBandsAreFreeOfButtons)
{
    // The window erases five pixels either side of a track when it moves a knob; no
    // button may reach into that band or it would be cut.
    const int bandLeft = 465, bandRight = 585, bandTop = 230, bandBottom = 248;
    for (const ButtonRect& b : MainButtons) {
        const bool apart = b.x + b.width <= bandLeft || b.x >= bandRight || b.y + b.height <= bandTop ||
                           b.y >= bandBottom;
        EXPECT_TRUE(apart) << b.name;
    }
}

TEST(SkinFiles, KnobsAreTrackHighAndFitTheErasedBand)
{
    const auto down = Load("arrow_down.bmp");
    const auto up = Load("arrow_up.bmp");
    ASSERT_TRUE(down && up);
    for (const auto* knob : {down.get(), up.get()}) {
        EXPECT_EQ(knob->Height(), 7);
        // Drawn from centre - width / 2; with the knob at either end of a track it must
        // stay inside the five pixels the window erases beyond the track.
        EXPECT_LE(knob->Width(), 10);
        EXPECT_EQ(knob->Width() % 2, 1) << "an odd width centres the knob on its value";
    }
    ASSERT_EQ(down->Width(), up->Width());
    int opaque = 0;
    for (int y = 0; y < down->Height(); ++y) {
        for (int x = 0; x < down->Width(); ++x) {
            EXPECT_EQ(down->GetPixel(x, y), up->GetPixel(x, down->Height() - 1 - y)) << "the knobs face each other";
            opaque += gfx::AlphaOf(down->GetPixel(x, y)) == 255;
        }
    }
    EXPECT_GT(opaque, 20);
    // The down knob is wide at the top and pointed at the bottom.
    EXPECT_EQ(gfx::AlphaOf(down->GetPixel(down->Width() / 2, 1)), 255u);
    EXPECT_LT(gfx::AlphaOf(down->GetPixel(0, 6)), 128u);
}
