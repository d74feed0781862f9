#include "shell/WebLinks.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace shell {

bool WebLinks::OpenWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}

bool WebLinks::OpenLocalPage(const QString& path)
{
    const QFileInfo page(path);
    if (!page.exists()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(page.absoluteFilePath()));
}

} // namespace shell
