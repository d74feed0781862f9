// The program: the main window, with the picture named on the command line open.
//   miravo [picture]

#include "app/CQuillomatDlg.h"
#include "files/AppFiles.h"
#include "shell/ChineseTranslations.h"
#include "shell/QtUserDialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Miravo"));
    QApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    shell::ChineseTranslations::Install(app);
    const QStringList arguments = QApplication::arguments();
    shell::QtUserDialogs dialogs;
    CQuillomatDlg window(dialogs, arguments.size() > 1 ? arguments[1] : QString());
    window.RunModal();
    return 0;
}
