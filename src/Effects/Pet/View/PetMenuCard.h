#pragma once

#include "Effects/Pet/PetAction.h"
#include "Effects/Pet/PetMenuCategory.h"
#include "Effects/Pet/View/PetGlyph.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QPainter;

// One row of a menu page: its text, symbol and the one command it sends.
struct PetMenuRow {
    QString title;
    PetGlyph glyph;
    PetAction action;
};

// What the card shows.
struct PetMenuState {
    QString name;
    std::optional<QString> reactionLine;
    bool staysPut = false;
    // The page shown; none is the grid of categories.
    std::optional<PetMenuCategory> category;
};

// Something on the card that answers a click, in card coordinates.
struct PetMenuItem {
    enum class Kind { back, close, tile, pause, row };
    Kind kind;
    QRectF rect;
    QString title;
    PetGlyph glyph;
    std::optional<PetAction> action;
    std::optional<PetMenuCategory> category;
};

// The pet's menu card: a header with back and close, the pet's line, then the four category
// tiles and the pause row, or one category's rows. Laid out at 214 points wide and as high as
// its content; the title takes up to two lines.
class PetMenuCard {
public:
    static constexpr double width = 214;
    static constexpr double margin = 12;
    static constexpr double spacing = 7;
    static constexpr double cornerRadius = 18;

    explicit PetMenuCard(PetMenuState state);

    static std::vector<PetMenuRow> categoryOptions(PetMenuCategory category, bool staysPut);
    static QString categoryTitle(PetMenuCategory category, const QString &name);
    // A tile's title as drawn on one line of `width`: shrunk a little if it must be, never
    // below the readable size, then cut at the end.
    struct FittedText {
        QFont font;
        QString text;
    };
    static FittedText tileTitle(const QString &title, double width);

    QString title() const;
    // The title as drawn: wrapped to at most two lines, the second cut at the end.
    const QStringList &titleLines() const { return m_titleLines; }
    const QRectF &titleRect() const { return m_titleRect; }
    double height() const { return m_height; }
    const std::vector<PetMenuItem> &items() const { return m_items; }
    // The reaction line's rectangle, when there is one.
    std::optional<QRectF> reactionRect() const { return m_reactionRect; }
    std::optional<QRectF> dividerRect() const { return m_dividerRect; }

    // Draws the card with its top-left corner at the painter's origin; `pressed` is the index
    // of the item under a held press. `contentOpacity` fades the page during a page change.
    void paint(QPainter &painter, std::optional<std::size_t> pressed, double contentOpacity) const;

private:
    void layOut();

    PetMenuState m_state;
    double m_height = 0;
    QRectF m_titleRect;
    QStringList m_titleLines;
    std::optional<QRectF> m_reactionRect;
    std::optional<QRectF> m_dividerRect;
    std::vector<PetMenuItem> m_items;
};
