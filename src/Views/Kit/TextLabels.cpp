#include "Views/Kit/TextLabels.h"

#include "Views/Kit/Bind.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SchemeFollower.h"
#include "Views/Kit/SymbolIcon.h"
#include "Views/Kit/WheelGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *styled(const QString &text, FontRole font, ColorRole color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(KitStyle::font(font));
    label->setWordWrap(true);
    TextLabels::tint(label, color);
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

void TextLabels::tint(QLabel *label, ColorRole role)
{
    SchemeFollower::follow(label, [label, role] {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, KitStyle::color(role));
        label->setPalette(palette);
    });
}

QPushButton *TextLabels::borderedButton(const QString &symbol, const QString &text, QWidget *parent,
                                        ColorRole content, const QString &extraStyle)
{
    auto *button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    SchemeFollower::follow(button, [button, symbol, content, extraStyle] {
        if (!symbol.isEmpty())
            SymbolIcon::setLeadingIcon(button, symbol, KitStyle::color(content));
        button->setStyleSheet(QStringLiteral("QPushButton { border: 1px solid %1; border-radius: 6px; padding: 4px 10px;"
                                             " background: %2; color: %6; }"
                                             "QPushButton:hover { background: %3; }"
                                             "QPushButton:pressed { background: %4; }"
                                             "QPushButton:disabled { color: %5; }")
                                  .arg(KitStyle::color(ColorRole::controlEdge).name(QColor::HexArgb),
                                       KitStyle::color(ColorRole::controlBackground).name(),
                                       KitStyle::color(ColorRole::barBackground).name(),
                                       KitStyle::color(ColorRole::windowBackground).name(),
                                       KitStyle::color(ColorRole::tertiary).name(),
                                       KitStyle::color(content).name())
                              + extraStyle);
        // A style sheet drops the inherited font; the body font is set again after it.
        button->setFont(KitStyle::font(FontRole::body));
    });
    return button;
}

QComboBox *TextLabels::picker(QWidget *parent)
{
    // The kit's style draws its frame and arrow in the colours of the scheme of the moment.
    auto *combo = WheelGuard::guard(new QComboBox(parent));
    combo->setFont(KitStyle::font(FontRole::body));
    return combo;
}

QCheckBox *TextLabels::checkBox(const QString &text, QWidget *parent)
{
    // The kit's style draws the square with the kit's edge.
    return new QCheckBox(text, parent);
}

QLineEdit *TextLabels::textField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setFont(KitStyle::font(FontRole::body));
    SchemeFollower::follow(field, [field] {
        // A style sheet drops the font set on the field; the one it has (a caller's title
        // font too) is set again after it.
        const QFont font = field->font();
        field->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: 6px; padding: 4px 8px;"
                                            " background: %2; color: %3; }"
                                            "QLineEdit:focus { border-color: palette(highlight); }")
                                 .arg(KitStyle::color(ColorRole::controlEdge).name(QColor::HexArgb),
                                      KitStyle::color(ColorRole::textBackground).name(),
                                      KitStyle::color(ColorRole::primary).name()));
        field->setFont(font);
    });
    return field;
}
