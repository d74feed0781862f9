#include "shell/UserDialogs.h"

#include <QFileInfo>

namespace shell {

std::optional<QString> UserDialogs::AskJpegFileToSave(QWidget* owner)
{
    for (;;) {
        const std::optional<QString> chosen = ChooseFileToSave(owner);
        if (!chosen || chosen->isEmpty()) {
            return std::nullopt;
        }
        const QString path = WithJpgExtension(*chosen);
        const QFileInfo target(path);
        if (!target.exists()) {
            return path;
        }
        const QString question = QString::fromUtf8("“%1”已存在。\n要替换它吗?").arg(target.fileName());
        if (AskYesNo(owner, question)) {
            return path;
        }
    }
}

QString UserDialogs::WithJpgExtension(const QString& path)
{
    // Only a dot in the file name counts: "my.photos/portrait" has no extension.
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot + 1);
    if (extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0) {
        return path;
    }
    return path + QLatin1String(".jpg");
}

} // namespace shell
