#include "Views/StudioSheet.h"

#include "Views/Kit/TextLabels.h"
#include "Views/Kit/WindowPlacement.h"

#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

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
    // The body's ideal size where the window it belongs to has room for it, frame included;
    // in a smaller window the sheet fits the window's client area and the body scrolls.
    if (parent)
        WindowPlacement::placeSheet(this, parent);
    else
        resize(sizeHint().boundedTo(screen()->availableGeometry().size()));
}
