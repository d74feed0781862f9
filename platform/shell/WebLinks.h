#pragma once

#include <QString>

namespace shell {

// Opens pages with the desktop's default handler (the browser, usually).
class WebLinks {
public:
    // An address such as "https://example.org/"; false when it is not a valid address
    // or no handler took it.
    static bool OpenWebAddress(const QString& address);
    // A page stored on this computer, given by its file path.
    static bool OpenLocalPage(const QString& path);

    // When the environment names a file in MIRAVO_RECORD_PAGES, pages are not opened
    // but their addresses appended to that file, one a line: the window tests see
    // which page a link asks for without starting a browser.
    static constexpr const char* kRecordVariable = "MIRAVO_RECORD_PAGES";
};

} // namespace shell
