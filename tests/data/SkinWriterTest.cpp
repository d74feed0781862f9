#include "GuiApplication.h"

#include "art/ContactSheet.h"
#include "art/SkinLayout.h"
#include "art/SkinWriter.h"
#include "files/AppFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

QStringList ExpectedFiles()
{
    QStringList files = {"main.bmp", "compare.bmp", "arrow_down.bmp", "arrow_up.bmp", "x.bmp", "miravo.ico", "miravo.png"};
    for (const std::string& cursor : SkinLayout::CursorNames()) {
        files << QString::fromStdString(cursor) + ".cur";
    }
    std::vector<SkinButton> buttons = SkinLayout::MainButtons();
    const auto& compare = SkinLayout::CompareButtons();
    buttons.insert(buttons.end(), compare.begin(), compare.end());
    for (const SkinButton& button : buttons) {
        for (const char* suffix : {"_1", "_2", "_3"}) {
            files << QString::fromStdString(button.name) + suffix + ".bmp";
        }
    }
    // Every bitmap but the eyelid texture is drawn again at twice the size.
    for (const QString& file : QStringList(files)) {
        if (file.endsWith(".bmp") && file != "x.bmp") {
            files << QString(file).replace(".bmp", "@2x.bmp");
        }
    }
    return files;
}

} // namespace

TEST(SkinWriter, WritesTheWholeSkinIntoAFolder)
{
    EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(SkinWriter(dir.path()).WriteAll());
    QStringList written = QDir(dir.path()).entryList(QDir::Files);
    QStringList expected = ExpectedFiles();
    written.sort();
    expected.sort();
    EXPECT_EQ(written, expected);
    for (const QString& file : expected.filter("@2x")) {
        const QSize plain = QImage(dir.filePath(QString(file).remove("@2x"))).size();
        EXPECT_EQ(QImage(dir.filePath(file)).size(), plain * 2) << file.toStdString();
    }
}

TEST(SkinWriter, ReportsAFolderItCannotWriteInto)
{
    EnsureGuiApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString blocked = dir.filePath("blocked");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // a plain file where the folder should be
    file.close();
    EXPECT_FALSE(SkinWriter(blocked).WriteAll());
}

TEST(ContactSheet, ShowsEveryLookOfTheBuiltSkinAndNamesWhatIsMissing)
{
    EnsureGuiApplication();
    ContactSheet built(QString::fromStdString(AppDataDir().string()));
    const QImage states = built.WindowStates("main.bmp", SkinLayout::MainButtons());
    EXPECT_GT(states.width(), 4 * 600);
    EXPECT_GT(states.height(), 710);
    EXPECT_FALSE(built.Extras().isNull());
    EXPECT_FALSE(built.MainAtStart().isNull());
    EXPECT_TRUE(built.Missing().isEmpty()) << built.Missing().join(", ").toStdString();

    QTemporaryDir empty;
    ContactSheet nothing(empty.path());
    EXPECT_TRUE(nothing.WindowStates("main.bmp", SkinLayout::MainButtons()).isNull());
    EXPECT_TRUE(nothing.Missing().contains("main.bmp"));
}
