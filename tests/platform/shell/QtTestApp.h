#pragma once

#include <QApplication>

// One QApplication for a whole test program, made on first use. It is never destroyed:
// tearing Qt down among the other statics after main() returns can crash.
inline QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
