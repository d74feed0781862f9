#include "QtTestApp.h"

#include "shell/TextPainter.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace {

constexpr gfx::Argb kNavy = gfx::MakeArgb(255, 0, 0, 128);

gfx::Bitmap WhitePanel(int width, int height)
{
    gfx::Bitmap bitmap(width, height);
    std::fill(bitmap.Pixels(), bitmap.Pixels() + size_t(width) * size_t(height), gfx::colors::White);
    return bitmap;
}

bool IsDark(gfx::Argb c) { return gfx::RedOf(c) + gfx::GreenOf(c) + gfx::BlueOf(c) < 3 * 128; }

// The rows of the rectangle holding at least one dark pixel.
std::vector<int> DarkRows(const gfx::Bitmap& bitmap, const gfx::Rect& rect)
{
    std::vector<int> rows;
    for (int y = rect.y; y < rect.Bottom(); ++y) {
        const gfx::Argb* row = bitmap.Scanline(y);
        if (std::any_of(row + rect.x, row + rect.Right(), IsDark)) {
            rows.push_back(y);
        }
    }
    return rows;
}

} // namespace

TEST(TextPainter, UsesASongStyleChineseFont)
{
    TestApplication();
    const shell::TextPainter painter;
    EXPECT_EQ(painter.Font().families().value(0), QString::fromUtf8("宋体"));
    EXPECT_EQ(painter.Font().families().value(1), "SimSun");
    EXPECT_EQ(painter.Font().pointSize(), 12);
    const QString used = QFontInfo(painter.Font()).family();
    EXPECT_TRUE(used.contains("UMing") || used.contains("SimSun") || used.contains(QString::fromUtf8("宋体")))
        << used.toStdString();
}

TEST(TextPainter, DrawsWrappedTextInsideItsRectangleOnly)
{
    TestApplication();
    gfx::Bitmap panel = WhitePanel(200, 260);
    const gfx::Rect rect{40, 30, 110, 200};
    const QString help = QString::fromUtf8("鼠标右键: 选取要复制的皮肤 \r\n\r\n鼠标左键: 将皮肤复制到光标位置\r\n\r\n控制条: 范围大小");
    shell::TextPainter().Draw(panel, rect, help, kNavy);

    for (int y = 0; y < panel.Height(); ++y) {
        for (int x = 0; x < panel.Width(); ++x) {
            if (!rect.Contains(x, y)) {
                ASSERT_EQ(panel.GetPixel(x, y), gfx::colors::White) << "outside at " << x << "," << y;
            }
        }
    }
    const std::vector<int> rows = DarkRows(panel, rect);
    ASSERT_FALSE(rows.empty());
    // 16-pixel lines: the first line starts at the top, and the long lines wrap, so ink
    // reaches well below four lines' height.
    EXPECT_LT(rows.front(), rect.y + 8);
    EXPECT_GT(rows.back(), rect.y + 4 * 16);
    EXPECT_LT(rows.back(), rect.Bottom());
    for (int y : rows) {
        for (int x = rect.x; x < rect.Right(); ++x) {
            const gfx::Argb c = panel.GetPixel(x, y);
            EXPECT_GE(gfx::BlueOf(c), gfx::RedOf(c)) << "ink is navy, not another colour";
        }
    }
}

TEST(TextPainter, ClipsTextThatDoesNotFit)
{
    TestApplication();
    gfx::Bitmap panel = WhitePanel(100, 100);
    const gfx::Rect rect{10, 10, 50, 20};
    shell::TextPainter().Draw(panel, rect, QString::fromUtf8("请选择操作请选择操作请选择操作请选择操作"), kNavy);
    EXPECT_FALSE(DarkRows(panel, rect).empty());
    EXPECT_TRUE(DarkRows(panel, {0, rect.Bottom(), 100, 100 - rect.Bottom()}).empty());

    gfx::Bitmap untouched = WhitePanel(30, 30);
    shell::TextPainter().Draw(untouched, {40, 40, 20, 20}, QString::fromUtf8("外"), kNavy);
    shell::TextPainter().Draw(untouched, {0, 0, 30, 30}, QString(), kNavy);
    EXPECT_TRUE(DarkRows(untouched, untouched.Bounds()).empty());
}

TEST(TextPainter, ShrinksOnlyTextThatDoesNotFitAndThenDrawsAllOfIt)
{
    TestApplication();
    const gfx::Rect panel{0, 0, 110, 200};
    const QString shortText = QString::fromUtf8("使用鼠标点击画面去除痕迹\r\n\r\n控制条: 范围大小");
    const QString longText = QString::fromUtf8(
        "鼠标左键: 增加一个点, 或选择一个已有点.\r\n\r\n拖动控制点: 改变眼皮弧度.\r\n\r\n鼠标右键: "
        "在操作左眼皮, 右眼皮或隐藏控制点之间切换.\r\n\r\n控制条: 上滑杆高度, 下滑杆透明度");
    EXPECT_EQ(shell::TextPainter::FittingPointSize(shortText, panel), 12);
    const int size = shell::TextPainter::FittingPointSize(longText, panel);
    EXPECT_LT(size, 12);
    EXPECT_GE(size, 9);
    // Drawn 20 pixels higher than the panel, the fitted text leaves the extra rows blank,
    // while at 12 points it runs into them.
    const gfx::Rect taller{0, 0, 110, 220};
    gfx::Bitmap fitted = WhitePanel(110, 220);
    shell::TextPainter(size).Draw(fitted, taller, longText, kNavy);
    EXPECT_LT(DarkRows(fitted, taller).back(), 200);
    gfx::Bitmap large = WhitePanel(110, 220);
    shell::TextPainter(12).Draw(large, taller, longText, kNavy);
    EXPECT_GE(DarkRows(large, taller).back(), 200);
    EXPECT_EQ(shell::TextPainter::FittingPointSize(longText + longText + longText, panel), 9) << "never below 9";
}
