#include "tools/ToolTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

// The help page describes every tool of the table under its button's label, with the
// text the help panel shows when it is selected.
TEST(HelpPage, DescribesEveryToolWithItsHelpPanelText)
{
    std::ifstream file(std::string(MIRAVO_SOURCE_DIR) + "/data/pages/help.html");
    ASSERT_TRUE(file) << "data/pages/help.html";
    std::stringstream page;
    page << file.rdbuf();
    const std::string html = page.str();
    for (const ToolRow& tool : ToolTable::Rows()) {
        SCOPED_TRACE(std::string(tool.name));
        const size_t heading = html.find("<h3>" + std::string(tool.label) + "</h3>");
        ASSERT_NE(heading, std::string::npos);
        std::string text(tool.helpText);
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
            text.replace(at, 2, "\n");
        }
        EXPECT_EQ(html.find("<pre>" + text + "</pre>", heading), html.find("<pre>", heading));
        EXPECT_NE(html.find("<pre>" + text + "</pre>", heading), std::string::npos);
    }
}
