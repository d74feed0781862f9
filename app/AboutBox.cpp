#include "app/AboutBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    auto* icon = new QLabel(this);
    if (parent != nullptr) {
        icon->setPixmap(parent->windowIcon().pixmap(32, 32));
    }
    auto* text = new QVBoxLayout;
    text->addWidget(new QLabel(QString::fromUtf8("软件版本 v1.0"), this));
    text->addWidget(new QLabel(QString::fromUtf8("Miravo 人像照片修饰工具, 让每一张人像更美."), this));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("確定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(top);
    whole->addWidget(buttons);
    setFixedSize(sizeHint());
}
