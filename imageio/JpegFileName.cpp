#include "imageio/JpegFileName.h"

QString WithJpegExtension(const QString& path)
{
    const qsizetype lastDot = path.lastIndexOf(u'.');
    const qsizetype lastSlash = path.lastIndexOf(u'/');
    const bool dotInFileName = lastDot > lastSlash;
    const QStringView extension = dotInFileName ? QStringView(path).mid(lastDot + 1) : QStringView();
    if (extension.compare(u"jpg", Qt::CaseInsensitive) == 0) {
        return path;
    }
    return path + QStringLiteral(".jpg");
}
