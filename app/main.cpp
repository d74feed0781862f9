// The program: the main window, with the picture named on the command line open.
//   miravo [picture]
// or, without a window, the batch skin smoothing (miravo --help tells how).

#include "app/CQuillomatDlg.h"
#include "batch/SmoothSkinCommand.h"
#include "files/AppFiles.h"
#include "shell/ChineseTranslations.h"
#include "shell/QtUserDialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (smoothskincommand::AskedFor(argc, argv)) {
        return smoothskincommand::Run(argc, argv);
    }
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
