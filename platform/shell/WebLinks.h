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
};

} // namespace shell
