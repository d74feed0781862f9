#include "shell/WebLinks.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace shell {

namespace {

bool Open(const QUrl& url)
{
    const QString record = qEnvironmentVariable(WebLinks::kRecordVariable);
    if (record.isEmpty()) {
        return QDesktopServices::openUrl(url);
    }
    QFile file(record);
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        return false;
    }
    file.write(url.toString(QUrl::FullyEncoded).toUtf8() + '\n');
    return true;
}

} // namespace

bool WebLinks::OpenWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        return false;
    }
    return Open(url);
}

bool WebLinks::OpenLocalPage(const QString& path)
{
    const QFileInfo page(path);
    if (!page.exists()) {
        return false;
    }
    return Open(QUrl::fromLocalFile(page.absoluteFilePath()));
}

} // namespace shell
