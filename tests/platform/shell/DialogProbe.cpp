// Shows one of the real dialogs for the window tests and reports the outcome, one line,
// in the file named by the first argument:
//   dialog-probe <report> message <text>   "closed" once the message box is dismissed
//   dialog-probe <report> save             "chosen <path>" or "cancelled"
// The save dialog starts in the current directory.

#include "shell/ChineseTranslations.h"
#include "picturefiles/PictureFileDialogs.h"
#include "shell/QtUserDialogs.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    shell::ChineseTranslations::Install(app);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s report-file message <text> | save\n", argv[0]);
        return 2;
    }
    shell::QtUserDialogs dialogs;
    QString outcome;
    if (args[2] == "message" && args.size() > 3) {
        dialogs.ShowMessage(nullptr, args[3]);
        outcome = "closed";
    } else if (args[2] == "save") {
        const std::optional<QString> chosen = PictureFileDialogs(dialogs).AskJpegFileToSave(nullptr);
        outcome = chosen ? "chosen " + *chosen : QString("cancelled");
    } else {
        return 2;
    }
    QFile report(args[1]);
    if (!report.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return 1;
    }
    QTextStream(&report) << outcome << '\n';
    return 0;
}
