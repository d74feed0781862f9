#include "QtTestApp.h"

#include "shell/ChineseTranslations.h"

#include <gtest/gtest.h>

TEST(ChineseTranslations, QtsOwnButtonTextsBecomeChinese)
{
    QApplication& app = TestApplication();
    if (!shell::ChineseTranslations::Install(app)) {
        GTEST_SKIP() << "Qt's Chinese catalogue is not installed (qt6-translations-l10n)";
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QString::fromUtf8("保存"));
}
