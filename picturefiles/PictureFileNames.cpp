#include "picturefiles/PictureFileNames.h"

#include "imageio/PictureKinds.h"

#include <QFile>
#include <QStringList>

namespace {

QString Patterns(const std::vector<std::string_view>& suffixes)
{
    QStringList patterns;
    for (std::string_view suffix : suffixes) {
        patterns.append("*." + QString::fromLatin1(suffix.data(), qsizetype(suffix.size())));
    }
    return patterns.join(' ');
}

} // namespace

QString OpenDialogFilter()
{
    std::vector<std::string_view> every;
    QStringList ownLines;
    for (const PictureKind& kind : PictureKinds()) {
        every.insert(every.end(), kind.suffixes.begin(), kind.suffixes.end());
        if (!kind.dialogFilter.empty()) {
            ownLines.append(QString::fromUtf8(kind.dialogFilter.data(), qsizetype(kind.dialogFilter.size())) + " ("
                            + Patterns(kind.suffixes) + ")");
        }
    }
    return QString::fromUtf8("所有图片 (") + Patterns(every) + ")" + (ownLines.isEmpty() ? "" : ";;")
           + ownLines.join(";;");
}

bool IsPictureFileName(const QString& path) { return HasPictureSuffix(path.toStdString()); }

std::filesystem::path FileSystemPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayPath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }
