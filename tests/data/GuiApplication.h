#pragma once

#include <QGuiApplication>

// Fonts and painting need a GUI application; the tests run on the offscreen platform.
inline void EnsureGuiApplication()
{
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "skin_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
}
