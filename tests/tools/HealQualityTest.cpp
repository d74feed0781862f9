// How well one click takes a blemish away on a real face: the heal next to the spot
// removal tool, on the sample portrait with a dozen made-up blemishes.
#include "engine/MaskedEffect.h"
#include "engine/NullEffect.h"
#include "imageio/PngReader.h"
#include "support/FakeEnvironment.h"
#include "support/SampleBlemishes.h"
#include "tools/ClickEffectOperation.h"
#include "tools/HealEffect.h"
#include "tools/TentBlurEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::shared_ptr<Surface> DecodePortrait()
{
    std::ifstream file(MIRAVO_SAMPLES_DIR "/portrait.png", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    PngReader reader;
    if (!reader.ReadHeader(bytes)) {
        return nullptr;
    }
    gfx::Bitmap image(reader.Width(), reader.Height());
    if (!reader.Decode(image)) {
        return nullptr;
    }
    return MoveIntoSurface(std::move(image));
}

int32_t Channel(uint32_t pixel, int32_t c) { return int32_t((pixel >> (8 * c)) & 0xFF); }

// The brush circle: the pixels nearer to the click than the brush radius.
template <typename Visit>
void ForEachInCircle(const Surface& s, gfx::Point centre, int32_t radius, Visit visit)
{
    for (int32_t y = std::max(0, centre.y - radius); y <= std::min(s.height - 1, centre.y + radius); ++y) {
        for (int32_t x = std::max(0, centre.x - radius); x <= std::min(s.width - 1, centre.x + radius); ++x) {
            const int32_t dx = x - centre.x, dy = y - centre.y;
            if (dx * dx + dy * dy < radius * radius) {
                visit(x, y);
            }
        }
    }
}

// Mean absolute difference of the colour channels inside the circle.
double MeanDifference(const Surface& a, const Surface& b, gfx::Point centre, int32_t radius)
{
    double sum = 0;
    int64_t count = 0;
    ForEachInCircle(a, centre, radius, [&](int32_t x, int32_t y) {
        for (int32_t c = 0; c < 3; ++c) {
            sum += std::abs(Channel(a.At(x, y), c) - Channel(b.At(x, y), c));
            ++count;
        }
    });
    return sum / double(count);
}

// How much darker than the clean picture the picture still is inside the circle, on
// the mean over the colour channels.
double DarknessLeft(const Surface& picture, const Surface& clean, gfx::Point centre, int32_t radius)
{
    double sum = 0;
    int64_t count = 0;
    ForEachInCircle(picture, centre, radius, [&](int32_t x, int32_t y) {
        for (int32_t c = 0; c < 3; ++c) {
            sum += Channel(clean.At(x, y), c) - Channel(picture.At(x, y), c);
            ++count;
        }
    });
    return sum / double(count);
}

// The fine texture inside the circle: the standard deviation of the picture minus its
// Gaussian blur of sigma 1 (7 x 7, edges repeated), over the colour channels.
double FineTexture(const Surface& s, gfx::Point centre, int32_t radius)
{
    double weights[7];
    double total = 0;
    for (int32_t k = -3; k <= 3; ++k) {
        weights[k + 3] = std::exp(-0.5 * k * k);
        total += weights[k + 3];
    }
    std::vector<double> details;
    ForEachInCircle(s, centre, radius, [&](int32_t x, int32_t y) {
        for (int32_t c = 0; c < 3; ++c) {
            double blurred = 0;
            for (int32_t i = -3; i <= 3; ++i) {
                for (int32_t j = -3; j <= 3; ++j) {
                    const int32_t sx = std::clamp(x + j, 0, s.width - 1), sy = std::clamp(y + i, 0, s.height - 1);
                    blurred += weights[i + 3] * weights[j + 3] * Channel(s.At(sx, sy), c);
                }
            }
            details.push_back(Channel(s.At(x, y), c) - blurred / (total * total));
        }
    });
    double mean = 0;
    for (const double d : details) {
        mean += d;
    }
    mean /= double(details.size());
    double variance = 0;
    for (const double d : details) {
        variance += (d - mean) * (d - mean);
    }
    return std::sqrt(variance / double(details.size()));
}

// What a tool left in one brush circle, next to the clean picture.
struct Figures {
    double difference = 0;   // mean absolute difference
    double texture = 0;      // fine texture
    double darknessLeft = 0; // mean darkening left in the blemish's own disc

    Figures& operator+=(const Figures& o)
    {
        difference += o.difference;
        texture += o.texture;
        darknessLeft += o.darknessLeft;
        return *this;
    }
    void Scale(double factor)
    {
        difference *= factor;
        texture *= factor;
        darknessLeft *= factor;
    }
};

Figures FiguresOf(const Surface& picture, const Surface& clean, const blemishes::Blemish& b, int32_t brushRadius)
{
    const gfx::Point centre{b.x, b.y};
    return {MeanDifference(picture, clean, centre, brushRadius), FineTexture(picture, centre, brushRadius),
            DarknessLeft(picture, clean, centre, b.radius + 1)};
}

// One click on every blemish, in the table's order, as the main window would deliver it.
std::shared_ptr<Surface> ClickEach(const Surface& blemished, std::shared_ptr<Effect> effect,
                                   std::span<const blemishes::Blemish> spots, int32_t brushRadius)
{
    FakeEnvironment env(CopySurface(blemished));
    auto size = std::make_shared<OperationScope>(10, 40);
    size->SetValue(uint32_t(brushRadius));
    ClickEffectOperation tool(&env, std::move(effect), NullEffect::Shared(), size);
    for (const blemishes::Blemish& b : spots) {
        env.cursor = {b.x, b.y};
        tool.buttonState = 1;
        tool.OnLeftDown(&env);
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
    }
    EXPECT_EQ(env.history.Size(), spots.size());
    return CopySurface(env.picture->Working());
}

} // namespace

// One row per blemish; the figures asked for are the means over the dozen discs. Each
// row must also keep the skin's texture and take most of the spot away; the rows are
// printed for both tools. The smallest brush (radius 10) covers every blemish (radius
// 3 to 6, fading out a pixel beyond).
TEST(HealQuality, LeavesHalfTheSpotRemovalsDifferenceAndKeepsTheSkinsTexture)
{
    constexpr int32_t kBrushRadius = 10;
    const std::shared_ptr<Surface> clean = DecodePortrait();
    ASSERT_TRUE(clean);
    ASSERT_EQ(clean->width, 512);
    const auto blemished = CopySurface(*clean);
    blemishes::Paint(*blemished, blemishes::kOnSamplePortrait);

    const auto healed = ClickEach(*blemished, std::make_shared<HealEffect>(), blemishes::kOnSamplePortrait, kBrushRadius);
    const auto spotRemoved = ClickEach(*blemished, std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5)),
                                       blemishes::kOnSamplePortrait, kBrushRadius);

    std::printf("%-12s | %-27s | %-20s | %s\n", "", "mean abs. difference", "fine texture", "spot left");
    std::printf("%-12s | %8s %8s %9s | %6s %6s %6s | %6s %6s\n", "blemish", "blemish", "heal", "spot rem.", "clean",
                "heal", "spot", "heal", "spot");
    Figures healMean, spotMean;
    double cleanTexture = 0;
    for (const blemishes::Blemish& b : blemishes::kOnSamplePortrait) {
        SCOPED_TRACE(testing::Message() << "blemish at " << b.x << "," << b.y);
        const gfx::Point centre{b.x, b.y};
        const Figures heal = FiguresOf(*healed, *clean, b, kBrushRadius);
        const Figures spot = FiguresOf(*spotRemoved, *clean, b, kBrushRadius);
        const double textureClean = FineTexture(*clean, centre, kBrushRadius);
        std::printf("(%3d,%3d) r%d | %8.2f %8.2f %9.2f | %6.2f %6.2f %6.2f | %6.2f %6.2f\n", b.x, b.y, b.radius,
                    MeanDifference(*blemished, *clean, centre, kBrushRadius), heal.difference, spot.difference,
                    textureClean, heal.texture, spot.texture, heal.darknessLeft, spot.darknessLeft);
        EXPECT_GE(heal.texture, 0.7 * textureClean);
        EXPECT_LT(heal.darknessLeft, blemishes::kDepth / 2);
        healMean += heal;
        spotMean += spot;
        cleanTexture += textureClean;
    }
    const double n = double(std::size(blemishes::kOnSamplePortrait));
    healMean.Scale(1 / n);
    spotMean.Scale(1 / n);
    cleanTexture /= n;
    std::printf("%-12s | %8s %8.2f %9.2f | %6.2f %6.2f %6.2f | %6.2f %6.2f\n", "mean", "", healMean.difference,
                spotMean.difference, cleanTexture, healMean.texture, spotMean.texture, healMean.darknessLeft,
                spotMean.darknessLeft);
    EXPECT_LE(healMean.difference, 0.5 * spotMean.difference);
    EXPECT_GE(healMean.texture, 0.7 * cleanTexture);
}
