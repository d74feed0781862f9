#include "shell/QtUserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace shell {

namespace {

// The buttons and labels are named here as well, so that they read Chinese even where
// Qt's own translations are not installed.
void NameButton(QMessageBox& box, QMessageBox::StandardButton which, const char* text)
{
    if (QAbstractButton* button = box.button(which)) {
        button->setText(QString::fromUtf8(text));
    }
}

enum class FileDialogKind { Open, Save };

std::optional<QString> RunFileDialog(QWidget* owner, FileDialogKind kind, const QString& filter)
{
    const bool save = kind == FileDialogKind::Save;
    QFileDialog dialog(owner, QString::fromUtf8(save ? "另存为" : "打开"), QString(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The caller asks about replacing a file, for the name with ".jpg" added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setLabelText(QFileDialog::LookIn, QString::fromUtf8("查找范围:"));
    dialog.setLabelText(QFileDialog::FileName, QString::fromUtf8("文件名:"));
    dialog.setLabelText(QFileDialog::FileType, QString::fromUtf8(save ? "保存类型:" : "文件类型:"));
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8(save ? "保存(&S)" : "打开(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QString::fromUtf8("取消"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace

void QtUserDialogs::ShowMessage(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramName), text, QMessageBox::Ok, owner);
    NameButton(box, QMessageBox::Ok, "确定");
    box.exec();
}

bool QtUserDialogs::AskYesNo(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kProgramName), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    NameButton(box, QMessageBox::Yes, "是(&Y)");
    NameButton(box, QMessageBox::No, "否(&N)");
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtUserDialogs::ChooseFileToOpen(QWidget* owner, const QString& filter)
{
    return RunFileDialog(owner, FileDialogKind::Open, filter);
}

std::optional<QString> QtUserDialogs::ChooseFileToSave(QWidget* owner)
{
    return RunFileDialog(owner, FileDialogKind::Save, QString::fromUtf8(kSaveFilter));
}

} // namespace shell
