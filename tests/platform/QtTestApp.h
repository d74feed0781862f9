#pragma once

#include <QApplication>

// One QApplication for a whole test program, made on first use.
inline QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
