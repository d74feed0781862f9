#include "shell/QtUserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace shell {

namespace {

std::optional<QString> Chosen(const QString& path)
{
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace

void QtUserDialogs::ShowMessage(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramName), text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtUserDialogs::AskYesNo(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramName), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtUserDialogs::ChooseFileToOpen(QWidget* owner)
{
    return Chosen(QFileDialog::getOpenFileName(owner, QString::fromUtf8("打开"), QString(),
                                               QString::fromLatin1(kOpenFilter)));
}

std::optional<QString> QtUserDialogs::ChooseFileToSave(QWidget* owner)
{
    return Chosen(QFileDialog::getSaveFileName(owner, QString::fromUtf8("另存为"), QString(),
                                               QString::fromLatin1(kSaveFilter), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

} // namespace shell
