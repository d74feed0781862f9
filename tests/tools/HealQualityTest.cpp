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
#include <functional>
#include <iterator>
#include <span>
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

// One click on every blemish, in the table's order, as the main window would deliver it,
// each the same offset away from the blemish's centre.
std::shared_ptr<Surface> ClickEach(const Surface& blemished, std::shared_ptr<Effect> effect,
                                   std::span<const blemishes::Blemish> spots, int32_t brushRadius,
                                   const std::function<gfx::Point(const blemishes::Blemish&)>& offset)
{
    FakeEnvironment env(CopySurface(blemished));
    auto size = std::make_shared<OperationScope>(10, 40);
    size->SetValue(uint32_t(brushRadius));
    ClickEffectOperation tool(&env, std::move(effect), NullEffect::Shared(), size);
    for (const blemishes::Blemish& b : spots) {
        const gfx::Point off = offset(b);
        env.cursor = {b.x + off.x, b.y + off.y};
        tool.buttonState = 1;
        tool.OnLeftDown(&env);
        tool.buttonState = 0;
        tool.OnButtonUp(&env);
    }
    EXPECT_EQ(env.history.Size(), spots.size());
    return CopySurface(env.picture->Working());
}

// The largest whole offset along the diagonal that stays on the blemish: d * sqrt(2) <= radius.
int32_t DiagonalOnSpot(const blemishes::Blemish& b)
{
    int32_t d = 0;
    while (2 * (d + 1) * (d + 1) <= b.radius * b.radius) {
        ++d;
    }
    return d;
}

struct ClickOffset {
    const char* name;
    std::function<gfx::Point(const blemishes::Blemish&)> of;
};

// The means over the blemishes of one cell of the table.
struct CellMeans {
    double blemished = 0; // mean absolute difference left untouched
    double heal = 0;
    double spotRemoval = 0;
    double cleanTexture = 0;
    double healTexture = 0;
    double spotTexture = 0;

    CellMeans& operator+=(const CellMeans& o)
    {
        blemished += o.blemished;
        heal += o.heal;
        spotRemoval += o.spotRemoval;
        cleanTexture += o.cleanTexture;
        healTexture += o.healTexture;
        spotTexture += o.spotTexture;
        return *this;
    }
    void Scale(double factor)
    {
        blemished *= factor;
        heal *= factor;
        spotRemoval *= factor;
        cleanTexture *= factor;
        healTexture *= factor;
        spotTexture *= factor;
    }
};

} // namespace

// A user never clicks exactly on a spot's centre: every blemish is clicked at the centre,
// at small offsets and on its rim along a diagonal, with the smallest, the starting and
// the largest brush. In each cell (offset, brush) the means over the dozen brush discs
// hold the figures asked of the heal (half the spot removal's difference to the clean
// picture, 70 % of the clean fine texture), and on no blemish is the heal worse than
// leaving the blemish as it was, in the brush disc and in the blemish's own disc.
TEST(HealQuality, LeavesHalfTheSpotRemovalsDifferenceAndKeepsTheSkinsTextureWhereverTheClickLands)
{
    const std::shared_ptr<Surface> clean = DecodePortrait();
    ASSERT_TRUE(clean);
    ASSERT_EQ(clean->width, 512);
    const auto blemished = CopySurface(*clean);
    blemishes::Paint(*blemished, blemishes::kOnSamplePortrait);

    const ClickOffset offsets[] = {
        {"(0,0)", [](const blemishes::Blemish&) { return gfx::Point{0, 0}; }},
        {"(+2,-1)", [](const blemishes::Blemish&) { return gfx::Point{2, -1}; }},
        {"(-3,+2)", [](const blemishes::Blemish&) { return gfx::Point{-3, 2}; }},
        {"rim, down right", [](const blemishes::Blemish& b) { return gfx::Point{DiagonalOnSpot(b), DiagonalOnSpot(b)}; }},
        {"rim, up left", [](const blemishes::Blemish& b) { return gfx::Point{-DiagonalOnSpot(b), -DiagonalOnSpot(b)}; }},
    };
    const auto spotRemoval = std::make_shared<MaskedEffect>(std::make_shared<TentBlurEffect>(5));
    const double n = double(std::size(blemishes::kOnSamplePortrait));

    std::printf("%-16s %6s | %-26s | %-20s\n", "click", "brush", "mean abs. difference", "fine texture");
    std::printf("%-16s %6s | %8s %8s %8s | %6s %6s %6s\n", "", "", "blemish", "heal", "spot rem.", "clean", "heal",
                "spot");
    for (const int32_t brushRadius : {10, 20, 40}) {
        CellMeans overClicks; // the cells of this brush, on the mean
        for (const ClickOffset& offset : offsets) {
            SCOPED_TRACE(testing::Message() << "click " << offset.name << ", brush " << brushRadius);
            const auto healed = ClickEach(*blemished, std::make_shared<HealEffect>(), blemishes::kOnSamplePortrait,
                                          brushRadius, offset.of);
            const auto spotRemoved =
                ClickEach(*blemished, spotRemoval, blemishes::kOnSamplePortrait, brushRadius, offset.of);
            CellMeans cell;
            for (const blemishes::Blemish& b : blemishes::kOnSamplePortrait) {
                SCOPED_TRACE(testing::Message() << "blemish at " << b.x << "," << b.y);
                // The brush disc the figures are taken in is the one the user clicked.
                const gfx::Point off = offset.of(b);
                const gfx::Point click{b.x + off.x, b.y + off.y};
                const double left = MeanDifference(*blemished, *clean, click, brushRadius);
                const double heal = MeanDifference(*healed, *clean, click, brushRadius);
                EXPECT_LE(heal, left) << "the heal is worse than the blemish in the brush disc";
                const gfx::Point centre{b.x, b.y};
                EXPECT_LT(MeanDifference(*healed, *clean, centre, b.radius + 1),
                          MeanDifference(*blemished, *clean, centre, b.radius + 1))
                    << "the heal is worse than the blemish in its own disc";
                cell.blemished += left / n;
                cell.heal += heal / n;
                cell.spotRemoval += MeanDifference(*spotRemoved, *clean, click, brushRadius) / n;
                cell.cleanTexture += FineTexture(*clean, click, brushRadius) / n;
                cell.healTexture += FineTexture(*healed, click, brushRadius) / n;
                cell.spotTexture += FineTexture(*spotRemoved, click, brushRadius) / n;
            }
            std::printf("%-16s %6d | %8.2f %8.2f %8.2f | %6.2f %6.2f %6.2f\n", offset.name, brushRadius,
                        cell.blemished, cell.heal, cell.spotRemoval, cell.cleanTexture, cell.healTexture,
                        cell.spotTexture);
            EXPECT_LE(cell.heal, 0.5 * cell.spotRemoval);
            EXPECT_GE(cell.healTexture, 0.7 * cell.cleanTexture);
            overClicks += cell;
        }
        overClicks.Scale(1.0 / double(std::size(offsets)));
        std::printf("%-16s %6d | %8.2f %8.2f %8.2f | %6.2f %6.2f %6.2f\n", "all clicks", brushRadius,
                    overClicks.blemished, overClicks.heal, overClicks.spotRemoval, overClicks.cleanTexture,
                    overClicks.healTexture, overClicks.spotTexture);
    }
}
