#include "Views/Kit/TextLabels.h"

#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SymbolIcon.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *styled(const QString &text, FontRole font, ColorRole color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(KitStyle::font(font));
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, KitStyle::color(color));
    label->setPalette(palette);
    return label;
}

}

QLabel *TextLabels::intro(const QString &text, QWidget *parent)
{
    return styled(text, FontRole::subheadline, ColorRole::secondary, parent);
}

QLabel *TextLabels::hint(const QString &text, QWidget *parent)
{
    return styled(text, FontRole::caption, ColorRole::secondary, parent);
}

QLabel *TextLabels::error(QWidget *parent)
{
    QLabel *label = styled(QString(), FontRole::caption, ColorRole::red, parent);
    label->hide();
    return label;
}

void TextLabels::setError(QLabel *label, const std::optional<QString> &error)
{
    Bind::text(label, error.value_or(QString()));
    Bind::visible(label, error.has_value());
}

QPushButton *TextLabels::borderedButton(const QString &symbol, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    if (!symbol.isEmpty())
        SymbolIcon::setLeadingIcon(button, symbol, KitStyle::color(ColorRole::primary));
    button->setAccessibleName(text);
    button->setStyleSheet(QStringLiteral("QPushButton { border: 1px solid %1; border-radius: 6px; padding: 4px 10px;"
                                         " background: %2; }"
                                         "QPushButton:hover { background: %3; }"
                                         "QPushButton:pressed { background: %4; }"
                                         "QPushButton:disabled { color: %5; }")
                              .arg(KitStyle::color(ColorRole::secondary, 0.35).name(QColor::HexArgb),
                                   KitStyle::color(ColorRole::controlBackground).name(),
                                   KitStyle::color(ColorRole::barBackground).name(),
                                   KitStyle::color(ColorRole::windowBackground).name(),
                                   KitStyle::color(ColorRole::tertiary).name()));
    // A style sheet drops the inherited font; the body font is set again after it.
    button->setFont(KitStyle::font(FontRole::body));
    return button;
}

QLineEdit *TextLabels::textField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: 6px; padding: 4px 8px;"
                                        " background: %2; }"
                                        "QLineEdit:focus { border-color: palette(highlight); }")
                             .arg(KitStyle::color(ColorRole::secondary, 0.35).name(QColor::HexArgb),
                                  KitStyle::color(ColorRole::textBackground).name()));
    field->setFont(KitStyle::font(FontRole::body));
    return field;
}
