#include "shell/UserDialogs.h"

#include "imageio/JpegFileName.h"

#include <QFileInfo>

namespace shell {

std::optional<QString> UserDialogs::AskJpegFileToSave(QWidget* owner)
{
    for (;;) {
        const std::optional<QString> chosen = ChooseFileToSave(owner);
        if (!chosen || chosen->isEmpty()) {
            return std::nullopt;
        }
        const QString path = WithJpegExtension(*chosen);
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

} // namespace shell
