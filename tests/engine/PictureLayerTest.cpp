#include "engine/PictureLayer.h"

#include "engine/Operation.h"
#include "gfx/Blend.h"
#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testpictures::Filled;
using testpictures::Noise;
using testpictures::SamePixels;

namespace {

// One tool step as every tool makes it: snapshot, change, push, commit.
void PaintStep(FakeEnvironment& env, Operation& op, const gfx::Rect& area, uint32_t colour)
{
    auto picture = env.CurrentPicture();
    picture->BeginEdit();
    auto snapshot = picture->StartSnapshot();
    Patch patch{area.x, area.y, area.width, area.height, Filled(area.width, area.height, colour)};
    picture->CompositePatch(patch);
    env.PushHistory([&op, e = &env, snapshot] { op.ApplySurface(e, snapshot); });
    picture->Commit();
}

} // namespace

TEST(PictureLayer, UpdateOutsideAnEditIsALogicError)
{
    PictureLayer picture(Filled(4, 4, 0xFF000000));
    try {
        picture.UpdateEdit(Filled(4, 4, 0));
        FAIL() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Can Accept Update during Editing Only");
    }
    EXPECT_THROW(picture.OpenForWrite({0, 0, 1, 1}), std::logic_error);

    picture.BeginEdit();
    picture.UpdateEdit(Filled(4, 4, 0xFF00FF00));
    EXPECT_EQ(picture.Working().At(3, 3), 0xFF00FF00u);
    picture.Commit();
    EXPECT_FALSE(picture.IsEditing());
}

TEST(PictureLayer, BeginEditTwiceCommitsTheFirstEdit)
{
    PictureLayer picture(Filled(8, 8, 0xFF000000));
    picture.BeginEdit();
    picture.CopyPixels(*Filled(2, 2, 0xFFFFFFFF), {1, 1});
    const Surface& second = picture.BeginEdit();
    EXPECT_TRUE(picture.IsEditing());
    EXPECT_EQ(second.At(1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(picture.Baseline()->At(1, 1), 0xFF000000u);
}

TEST(PictureLayer, PixelsHeldElsewhereAreNeverChanged)
{
    auto opened = Noise(16, 16, 5);
    const auto before = CopySurface(*opened);
    PictureLayer picture(opened); // the caller keeps its own pointer
    EXPECT_EQ(picture.Baseline().get(), opened.get()) << "the baseline is shared, not copied";
    picture.BeginEdit();
    picture.CopyPixels(*Filled(16, 16, 0xFF123456), {0, 0});
    picture.Commit();
    EXPECT_TRUE(SamePixels(*opened, *before));
    EXPECT_TRUE(SamePixels(*picture.Baseline(), *before));
    EXPECT_EQ(picture.Working().At(5, 5), 0xFF123456u);
}

TEST(PictureLayer, UndoRestoresExactlyEvenOnTransparentPictures)
{
    // Half-transparent noise: a source-over restore would leave the later change showing through.
    auto original = Noise(64, 48, 9, true);
    FakeEnvironment env(CopySurface(*original));
    Operation op(&env);
    PaintStep(env, op, {10, 10, 30, 20}, 0x80FF0000);
    PaintStep(env, op, {20, 5, 40, 40}, 0xFF00FF00);
    PaintStep(env, op, {0, 0, 5, 5}, 0x01020304);
    ASSERT_EQ(env.history.Size(), 3u);

    env.history.Undo();
    env.history.Undo();
    EXPECT_EQ(env.picture->Working().At(15, 15), gfx::BlendSourceOver(original->At(15, 15), 0x80FF0000));
    env.history.Undo();
    EXPECT_TRUE(env.history.IsEmpty());
    EXPECT_TRUE(SamePixels(env.picture->Working(), *original));
    // The undo is an open edit; the next BeginEdit commits it.
    EXPECT_TRUE(env.picture->IsEditing());
    env.picture->BeginEdit();
    EXPECT_TRUE(SamePixels(env.picture->Working(), *original));
}

// A patch that replaces leaves its own pixels, alpha included, where a source-over patch
// would show the picture through; undo brings the picture back exactly either way.
TEST(PictureLayer, ReplacingPatchTakesThePlaceOfThePixels)
{
    auto original = Noise(40, 30, 11, true);
    FakeEnvironment env(CopySurface(*original));
    auto picture = env.picture;
    picture->BeginEdit();
    auto snapshot = picture->StartSnapshot();
    const auto pixels = Noise(7, 5, 12, true);
    EXPECT_TRUE(picture->CompositePatch({30, 27, 7, 5, pixels, PatchBlend::Replace})); // reaches past the bottom
    picture->Commit();
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const bool inside = x >= 30 && x < 37 && y >= 27;
            ASSERT_EQ(picture->Working().At(x, y), inside ? pixels->At(x - 30, y - 27) : original->At(x, y));
        }
    }
    Operation op(&env);
    env.PushHistory([&op, e = &env, snapshot] { op.ApplySurface(e, snapshot); });
    env.history.Undo();
    EXPECT_TRUE(SamePixels(picture->Working(), *original));
}

TEST(PictureLayer, SnapshotHoldsOnlyTheChangedTiles)
{
    FakeEnvironment env(Filled(4000, 3000, 0xFF808080));
    Operation op(&env);
    auto picture = env.picture;
    picture->BeginEdit();
    auto snapshot = picture->StartSnapshot();
    picture->CompositePatch({1000, 1000, 50, 50, Filled(50, 50, 0xFFFFFFFF)});
    picture->CompositePatch({1010, 1010, 50, 50, Filled(50, 50, 0xFF000000)});
    picture->Commit();
    // At most 3 x 3 tiles of 32 x 32 pixels, whatever the picture's size.
    EXPECT_LE(snapshot->ByteSize(), size_t(9 * 32 * 32 * 4));
    // The second write into the same tiles did not overwrite what the first one saved.
    env.PushHistory([&op, e = &env, snapshot] { op.ApplySurface(e, snapshot); });
    env.history.Undo();
    EXPECT_EQ(picture->Working().At(1020, 1020), 0xFF808080u);
    EXPECT_EQ(picture->Working().At(1049, 1049), 0xFF808080u);
    // The way back holds the same tiles, whatever the picture's size.
    picture->BeginEdit();
    EXPECT_EQ(picture->Restore(*snapshot)->ByteSize(), snapshot->ByteSize());
}

TEST(PictureLayer, ReportsEveryWrittenArea)
{
    PictureLayer picture(Filled(100, 100, 0xFF000000));
    EXPECT_EQ(picture.TakeChangedAreas(), (std::vector<gfx::Rect>{{0, 0, 100, 100}}));
    EXPECT_TRUE(picture.TakeChangedAreas().empty());
    picture.BeginEdit();
    picture.CopyPixels(*Filled(10, 10, 0xFFFFFFFF), {95, 95}); // reaches past the edge
    picture.CompositePatch({}); // no surface: no change
    EXPECT_EQ(picture.TakeChangedAreas(), (std::vector<gfx::Rect>{{95, 95, 5, 5}}));
}
