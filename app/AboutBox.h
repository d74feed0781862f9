#pragma once

#include <QDialog>

// The About box of the system menu: the program icon, its version and one line about it.
class AboutBox : public QDialog {
public:
    explicit AboutBox(QWidget* parent);
};
