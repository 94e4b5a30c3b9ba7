#include "Views/StudioSheet.h"

#include "Views/Kit/TextLabels.h"

#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

StudioSheet::StudioSheet(QWidget *body, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Sound Studio"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *close = TextLabels::borderedButton(QString(), QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    body->setParent(this);
    layout->addWidget(body, 1);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    // A window's first size is otherwise capped at two thirds of the screen; the body's ideal
    // size is used wherever the screen has room for it. The sheet is no taller than the window
    // it belongs to, so it never covers that window's title bar; the body scrolls instead.
    QSize room = screen()->availableGeometry().size();
    if (parent)
        room.setHeight(std::min(room.height(), parent->window()->height()));
    resize(sizeHint().boundedTo(room));
}
