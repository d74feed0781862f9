#include "engine/SurfaceSnapshot.h"
#include "support/FakeEnvironment.h"
#include "support/SampleFaces.h"
#include "support/TestPictures.h"
#include "tools/AutoSmoothCommand.h"
#include "tools/SmoothOperation.h"

#include <gtest/gtest.h>

#include <cstdlib>

using testpictures::SamePixels;

namespace {

constexpr gfx::Point kPortraitAt{37, 11};

// Bytes of the 32 x 32 tiles (smaller at the right and bottom edges) in which the two
// pictures differ.
size_t ChangedTileBytes(const Surface& a, const Surface& b)
{
    constexpr int32_t tile = SurfaceSnapshot::TileSize;
    size_t bytes = 0;
    for (int32_t top = 0; top < a.height; top += tile) {
        for (int32_t left = 0; left < a.width; left += tile) {
            const gfx::Rect r = gfx::Rect{left, top, tile, tile}.Intersected(a.Bounds());
            bool differs = false;
            for (int32_t y = r.y; y < r.Bottom() && !differs; ++y) {
                for (int32_t x = r.x; x < r.Right() && !differs; ++x) {
                    differs = a.At(x, y) != b.At(x, y);
                }
            }
            bytes += differs ? size_t(r.Area()) * 4 : 0;
        }
    }
    return bytes;
}

int64_t Difference(const Surface& a, const Surface& b)
{
    int64_t sum = 0;
    for (int32_t y = 0; y < a.height; ++y) {
        for (int32_t x = 0; x < a.width; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                sum += std::abs(int32_t((a.At(x, y) >> shift) & 0xFF) - int32_t((b.At(x, y) >> shift) & 0xFF));
            }
        }
    }
    return sum;
}

} // namespace

TEST(AutoSmoothCommandTest, OneUndoStepHoldingTheChangedTilesOnlyAndExactUndoRedo)
{
    const auto opened = samplefaces::PortraitOnCanvas(700, 540, kPortraitAt);
    FakeEnvironment env(opened);
    const std::vector<Face> faces = samplefaces::FindIn(*opened);
    ASSERT_EQ(faces.size(), 1u);
    const auto strength = SmoothOperation::StrengthScope();
    ASSERT_EQ(strength->Value(), 50u);
    AutoSmoothCommand command(&env, strength);

    ASSERT_EQ(command.Run(faces), AutoSmoothCommand::Outcome::Smoothed);
    EXPECT_FALSE(env.picture->IsEditing());
    EXPECT_EQ(env.history.Size(), 1u);
    const auto smoothed = CopySurface(env.picture->Working());
    EXPECT_FALSE(SamePixels(*smoothed, *opened));
    EXPECT_EQ(command.LastStepBytes(), ChangedTileBytes(*opened, *smoothed));
    // The face is about 90 pixels wide: a few dozen tiles, not the 700 x 540 picture.
    EXPECT_LT(command.LastStepBytes(), size_t(opened->ByteSize()) / 10);

    // Only the face's box (with its forehead) changes.
    const gfx::Rect face = faces[0].box.Inflated(20);
    for (int32_t y = 0; y < opened->height; ++y) {
        for (int32_t x = 0; x < opened->width; ++x) {
            if (!face.Contains(x, y)) {
                ASSERT_EQ(smoothed->At(x, y), opened->At(x, y)) << x << ", " << y;
            }
        }
    }

    ASSERT_TRUE(env.history.Undo());
    EXPECT_TRUE(SamePixels(env.picture->Working(), *opened));
    ASSERT_TRUE(env.history.Redo());
    EXPECT_TRUE(SamePixels(env.picture->Working(), *smoothed));
    ASSERT_TRUE(env.history.Undo());
    EXPECT_TRUE(SamePixels(env.picture->Working(), *opened));

    // A stronger smoothing changes more.
    strength->SetValue(100);
    ASSERT_EQ(command.Run(faces), AutoSmoothCommand::Outcome::Smoothed);
    EXPECT_GT(Difference(env.picture->Working(), *opened), Difference(*smoothed, *opened));
}

TEST(AutoSmoothCommandTest, NothingToDoLeavesPictureAndHistoryAlone)
{
    const auto opened = samplefaces::PortraitOnCanvas(600, 520, {50, 4});
    const std::vector<Face> faces = samplefaces::FindIn(*opened);
    ASSERT_EQ(faces.size(), 1u);
    const auto strength = SmoothOperation::StrengthScope();

    FakeEnvironment noPicture;
    EXPECT_EQ(AutoSmoothCommand(&noPicture, strength).Run(faces), AutoSmoothCommand::Outcome::NoPicture);

    FakeEnvironment env(opened);
    AutoSmoothCommand command(&env, strength);
    EXPECT_EQ(command.Run({}), AutoSmoothCommand::Outcome::NoFace);
    strength->SetValue(0);
    EXPECT_EQ(command.Run(faces), AutoSmoothCommand::Outcome::Unchanged);
    EXPECT_EQ(command.LastStepBytes(), 0u);
    EXPECT_TRUE(env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(env.picture->Working(), *opened));

    // Strength 1 is the least that changes something; a flat picture has nothing to
    // smooth at any strength.
    strength->SetValue(1);
    EXPECT_EQ(command.Run(faces), AutoSmoothCommand::Outcome::Smoothed);
    FakeEnvironment grey(testpictures::Filled(600, 520, 0xFF808080u));
    strength->SetValue(100);
    EXPECT_EQ(AutoSmoothCommand(&grey, strength).Run(faces), AutoSmoothCommand::Outcome::Unchanged);
    EXPECT_TRUE(grey.history.IsEmpty());
}
