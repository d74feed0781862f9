// The view redraws only what changed between renders; these runs check that the
// result is still exactly what composing and scaling everything from scratch gives.
#include "engine/CanvasView.h"

#include "engine/History.h"
#include "engine/PictureLayer.h"
#include "support/FakeEnvironment.h"
#include "support/TestPictures.h"
#include "tools/BezierItem.h"
#include "tools/LineOperation.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace {

std::shared_ptr<const Surface> StripedTexture()
{
    auto texture = CreateSurface(40, 9);
    for (int32_t y = 0; y < texture->height; ++y) {
        for (int32_t x = 0; x < texture->width; ++x) {
            texture->Row(y)[x] = gfx::MakeArgb(255, 30 + 20 * uint32_t(y), 200 - 4 * uint32_t(x), 90);
        }
    }
    return texture;
}

struct Scene {
    Scene(std::shared_ptr<Surface> pictureSurface, int32_t viewWidth, int32_t viewHeight)
        : env(std::move(pictureSurface)),
          view(env.picture->Width(), env.picture->Height(), viewWidth, viewHeight),
          height(std::make_shared<OperationScope>(2, 14)),
          opacity(std::make_shared<OperationScope>(0, 128)),
          left(std::make_shared<BezierItem>(StripedTexture(), height, opacity)),
          right(std::make_shared<BezierItem>(StripedTexture(), height, opacity)),
          line(std::make_shared<LineOperation>(&env, left, right)),
          incremental(viewWidth, viewHeight),
          full(viewWidth, viewHeight)
    {
        view.AddLayer(env.picture);
        view.AddLayer(left);
        view.AddLayer(right);
        view.SetOperation(line);
        line->Activate();
    }

    // One tool step: random pixels in a random rectangle, undoable.
    void Edit(std::mt19937& rng)
    {
        PictureLayer& picture = *env.picture;
        const int32_t w = picture.Width(), h = picture.Height();
        const int32_t x = int32_t(rng() % uint32_t(w)), y = int32_t(rng() % uint32_t(h));
        const gfx::Rect area = gfx::Rect{x, y, 1 + int32_t(rng() % 40), 1 + int32_t(rng() % 40)}.Intersected(picture.Bounds());
        picture.BeginEdit();
        auto snapshot = picture.StartSnapshot();
        Surface& working = picture.OpenForWrite(area);
        const bool translucent = rng() % 3 == 0;
        for (int32_t row = area.y; row < area.Bottom(); ++row) {
            for (int32_t col = area.x; col < area.Right(); ++col) {
                working.Row(row)[col] = translucent ? rng() : (rng() | 0xFF000000u);
            }
        }
        auto layer = env.picture;
        env.history.Push([layer, snapshot] {
            layer->BeginEdit();
            layer->Restore(*snapshot);
        });
        picture.Commit();
    }

    // A click (and maybe a drag) of the line tool somewhere on the picture.
    void LineGesture(std::mt19937& rng)
    {
        auto randomPoint = [&] {
            return gfx::Point{int32_t(rng() % uint32_t(env.picture->Width() + 1)),
                              int32_t(rng() % uint32_t(env.picture->Height() + 1))};
        };
        const std::shared_ptr<BezierItem> current = line->Current();
        if (current && current->PointCount() > 0 && rng() % 2) {
            const gfx::PointF p = current->Points()[rng() % current->Points().size()];
            env.cursor = {int32_t(p.x), int32_t(p.y)};
        } else {
            env.cursor = randomPoint();
        }
        line->OnLeftDown(&env);
        if (rng() % 2) {
            env.cursor = randomPoint();
            line->OnDrag(&env);
        }
        line->OnButtonUp(&env);
    }

    void RandomStep(std::mt19937& rng)
    {
        switch (rng() % 12) {
        case 0:
        case 1:
            Edit(rng);
            break;
        case 2:
            env.history.Undo();
            break;
        case 3:
        case 4:
            LineGesture(rng);
            break;
        case 5:
            line->OnKeyDown(&env, rng() % 2 ? LineOperation::DeleteKey : LineOperation::LessOpaqueKey);
            break;
        case 6:
            rng() % 2 ? line->OnWheelUp(&env) : line->OnWheelDown(&env);
            line->OnKeyDown(&env, LineOperation::MoreOpaqueKey);
            break;
        case 7:
            line->OnRightDown(&env);
            break;
        case 8:
            view.SetZoom(float(view.Zoom() * (rng() % 2 ? 1.196078431372549 : 0.8360655737704918)));
            break;
        case 9:
            view.Scroll(int32_t(rng() % 101) - 50, int32_t(rng() % 101) - 50);
            break;
        case 10: {
            // 1:1, enlarged, exactly at the pyramid's levels and just either side, uneven.
            const float zooms[] = {1.0f, 3.3f, 0.5f, 0.25f, 0.125f, 0.0625f, 0.25f * 1.0001f, 0.125f * 0.9999f, 0.37f};
            view.SetZoom(zooms[rng() % std::size(zooms)]);
            break;
        }
        default:
            break; // a pure cursor move: nothing changed
        }
    }

    ::testing::AssertionResult RendersMatch()
    {
        gfx::Graphics a(incremental), b(full);
        view.Render(true, a);
        view.RenderFull(true, b);
        for (int32_t y = 0; y < incremental.Height(); ++y) {
            for (int32_t x = 0; x < incremental.Width(); ++x) {
                if (incremental.GetPixel(x, y) != full.GetPixel(x, y)) {
                    return ::testing::AssertionFailure()
                           << "view pixel (" << x << ", " << y << ") " << std::hex << incremental.GetPixel(x, y)
                           << " instead of " << full.GetPixel(x, y) << std::dec << " at zoom " << view.Zoom();
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    FakeEnvironment env;
    CanvasView view;
    std::shared_ptr<OperationScope> height;
    std::shared_ptr<OperationScope> opacity;
    std::shared_ptr<BezierItem> left;
    std::shared_ptr<BezierItem> right;
    std::shared_ptr<LineOperation> line;
    gfx::Bitmap incremental;
    gfx::Bitmap full;
};

struct RunCase {
    const char* name;
    std::shared_ptr<Surface> picture;
    int32_t viewWidth, viewHeight;
    int compareEvery; // 1: after every step; more: errors have time to pile up first
};

TEST(IncrementalRender, EqualsAFullRenderAfterRandomEditsUndosPointsZoomsAndScrolls)
{
    const RunCase cases[] = {
        {"opaque picture in the canvas", testpictures::Noise(300, 200, 1), 443, 621, 1},
        {"translucent picture, square view", testpictures::Noise(120, 160, 2, true), 275, 275, 1},
        {"picture smaller than the view", testpictures::Noise(60, 40, 3), 200, 150, 1},
        {"compared only now and then", testpictures::Noise(250, 180, 4), 443, 621, 9},
        {"pyramid: odd sides, wider than the view", testpictures::Noise(517, 389, 5), 61, 47, 1},
        {"pyramid: translucent, taller than the view", testpictures::Noise(301, 455, 6, true), 73, 90, 1},
        {"pyramid: canvas on a larger picture, compared now and then", testpictures::Noise(1031, 777, 7), 443, 621, 5},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.picture, c.viewWidth, c.viewHeight);
        std::mt19937 rng(77);
        ASSERT_TRUE(scene.RendersMatch());
        for (int step = 1; step <= 220; ++step) {
            scene.RandomStep(rng);
            if (step % c.compareEvery == 0) {
                ASSERT_TRUE(scene.RendersMatch()) << "after step " << step;
            } else {
                gfx::Graphics graphics(scene.incremental);
                scene.view.Render(true, graphics);
            }
        }
    }
}

uint64_t Fingerprint(const Surface& surface)
{
    uint64_t hash = 14695981039346656037u; // FNV-1a over the pixels' bytes
    const auto* bytes = reinterpret_cast<const unsigned char*>(surface.pixels.get());
    for (size_t i = 0; i < surface.ByteSize(); ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211u;
    }
    return hash;
}

TEST(IncrementalRender, FlattenGivesTheSamePixelsAsBeforeTheViewKeptAPyramid)
{
    // Saving and comparing use Flatten; the pyramid is for the screen only. The
    // fingerprints were taken from the view as it was before it kept one.
    Scene scene(testpictures::Noise(301, 455, 6, true), 73, 90);
    std::mt19937 rng(2024);
    uint64_t fingerprints = 0;
    for (int step = 1; step <= 150; ++step) {
        scene.RandomStep(rng);
        gfx::Graphics graphics(scene.incremental);
        scene.view.Render(true, graphics);
        if (step % 50 == 0) {
            fingerprints = fingerprints * 31 + Fingerprint(*scene.view.Flatten());
        }
    }
    EXPECT_EQ(fingerprints, 5886898805931266210u);
}

TEST(IncrementalRender, EditNextToAnEyelidLineRedrawsTheLineOverTheNewPixels)
{
    Scene scene(testpictures::Filled(200, 100, 0xFFC0C0C0), 200, 100);
    scene.view.SetZoom(1.0f);
    scene.left->AppendPoint(20, 50);
    scene.left->AppendPoint(180, 50);
    ASSERT_TRUE(scene.RendersMatch());
    // Pixels just left of and above the line change: the line's colours there come from them.
    for (gfx::Rect area : {gfx::Rect{90, 40, 10, 10}, gfx::Rect{19, 40, 1, 20}, gfx::Rect{60, 45, 10, 1}}) {
        PictureLayer& picture = *scene.env.picture;
        picture.BeginEdit();
        Surface& working = picture.OpenForWrite(area);
        for (int32_t y = area.y; y < area.Bottom(); ++y) {
            std::fill(working.Row(y) + area.x, working.Row(y) + area.Right(), 0xFF402000u);
        }
        picture.Commit();
        ASSERT_TRUE(scene.RendersMatch()) << area.x << ", " << area.y;
    }
}

} // namespace
