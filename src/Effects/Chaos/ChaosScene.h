#pragma once

#include "Effects/Chaos/ChaosBackdrop.h"
#include "Effects/Chaos/ChaosMode.h"
#include "Effects/Chaos/DesktopVisualItem.h"

#include <QImage>
#include <QRandomGenerator>
#include <QRectF>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class b2Body;
class b2World;

// The physics of one chaos panel: the Desktop items as bodies in a Box2D world, the
// wallpaper behind them and the banner over them. Positions are scene points with the
// origin at the panel's bottom-left corner and y growing upwards; the scene advances only
// when its owner steps it.
class ChaosScene {
public:
    ChaosScene(ChaosMode mode, std::vector<DesktopVisualItem> items, const QRectF &effectFrame,
               qreal primaryScreenTop, quint32 randomSeed = QRandomGenerator::global()->generate());
    ~ChaosScene();
    ChaosScene(const ChaosScene &) = delete;
    ChaosScene &operator=(const ChaosScene &) = delete;

    // Called after an item's file was opened.
    std::function<void()> onOpen;
    // Opens a file in its default application.
    std::function<void(const QUrl &)> openUrl;

    // One fixed physics step, with the earthquake's kicks that fall due.
    void step();
    // Draws the scene into a painter whose coordinates are the panel's (y down).
    void paint(QPainter &painter) const;
    // Removes every body and stops the kicks; the scene then draws only its backdrop.
    void clear();
    // The desktop picture behind the items, which arrives once decoded.
    void setBackdrop(ChaosBackdrop backdrop) { m_backdrop = std::move(backdrop); }
    bool hasBackdrop() const { return !m_backdrop.picture.isNull(); }

    void mouseDown(QPointF point);
    void mouseDragged(QPointF point);
    void mouseUp(QPointF point, int clickCount);

    int itemCount() const { return int(m_nodes.size()); }
    QPointF itemPosition(int index) const;
    QPointF itemVelocity(int index) const;
    bool isItemSimulated(int index) const;
    std::optional<int> draggedItem() const { return m_dragged; }
    QPointF gravity() const;
    double bannerOpacity() const;
    QString bannerText() const;

    // The name under an icon: 15 or more characters are cut to 13 and an ellipsis.
    static QString labelText(const QString &name);

private:
    struct Node {
        b2Body *body = nullptr;
        QImage picture; // icon and label, centred on the body
        int z = 0;
    };

    void buildEdges();
    void addItems();
    void kick();
    void applyField();
    QPointF startPosition(int index);
    QPointF startVelocity(int index);
    std::optional<int> itemAt(QPointF point) const;
    double uniform(double low, double high);
    QImage makePicture(const DesktopVisualItem &item) const;

    ChaosMode m_mode;
    std::vector<DesktopVisualItem> m_items;
    ChaosBackdrop m_backdrop;
    QRectF m_effectFrame;
    qreal m_primaryScreenTop;
    QSizeF m_size;
    QRandomGenerator m_random;
    std::unique_ptr<b2World> m_world;
    std::vector<Node> m_nodes;
    double m_elapsed = 0;
    int m_kicksDone = 0;
    std::optional<int> m_dragged;
    QPointF m_dragStart;
    QPointF m_dragOffset;
};
