#include "QtTestApp.h"

#include "shell/WebLinks.h"

#include <gtest/gtest.h>

// Only refusals are tested: a valid address would start the desktop's browser.
TEST(WebLinks, RefusesWhatIsNoAddressOrNoPage)
{
    TestApplication();
    for (const char* address : {"", "www example org", "no scheme here", "http://exa mple.org/"}) {
        EXPECT_FALSE(shell::WebLinks::OpenWebAddress(QString::fromLatin1(address))) << address;
    }
    EXPECT_FALSE(shell::WebLinks::OpenLocalPage("/no/such/folder/help.html"));
}
