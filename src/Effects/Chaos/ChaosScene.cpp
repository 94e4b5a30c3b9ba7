#include "Effects/Chaos/ChaosScene.h"

#include "Effects/Chaos/ChaosPhysicsTuning.h"
#include "Foundation/Appearance.h"

#include <QDesktopServices>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>

#include <box2d/box2d.h>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace ChaosPhysicsTuning;

namespace {
constexpr double itemWidth = 58, itemHeight = 70, iconSide = 46;
constexpr double iconCentreY = 9, labelCentreY = -25;
constexpr double itemMass = 0.09;
constexpr double edgeInsetX = 8, edgeInsetY = 36;
constexpr double dragInset = 34;
constexpr double openDistance = 6;
constexpr double throwFactor = 2.4;
constexpr int earthquakeKicks = 30;
constexpr double earthquakeKickInterval = 0.12;
constexpr double bannerFadeIn = 0.15, bannerHold = 2.5, bannerFadeOut = 0.5;
constexpr double vortexStrength = 9.5, vortexFalloff = 1.2;
// Node pictures are drawn at twice their size for dense screens.
constexpr qreal pictureScale = 2;

b2Vec2 toWorld(QPointF p)
{
    return {float(p.x() / pointsPerMeter), float(p.y() / pointsPerMeter)};
}

QPointF fromWorld(b2Vec2 v)
{
    return {v.x * pointsPerMeter, v.y * pointsPerMeter};
}

// `font` at `scale` of its size, in whichever unit it is given.
QFont scaled(QFont font, qreal scale)
{
    if (font.pixelSize() > 0)
        font.setPixelSize(int(std::lround(font.pixelSize() * scale)));
    else
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

struct BodyFeel {
    float restitution, linearDamping;
};

BodyFeel feelOf(ChaosMode mode)
{
    return mode == ChaosMode::zeroGravity ? BodyFeel{0.95f, 0.02f} : BodyFeel{0.42f, 0.12f};
}
}

ChaosScene::ChaosScene(ChaosMode mode, std::vector<DesktopVisualItem> items, const QRectF &effectFrame,
                       qreal primaryScreenTop, quint32 randomSeed)
    : openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , m_mode(mode)
    , m_items(std::move(items))
    , m_effectFrame(effectFrame)
    , m_primaryScreenTop(primaryScreenTop)
    , m_size(effectFrame.size())
    , m_random(randomSeed)
    , m_world(std::make_unique<b2World>(toWorld(gravity())))
{
    buildEdges();
    addItems();
    if (m_mode == ChaosMode::earthquake)
        kick();
}

ChaosScene::~ChaosScene() = default;

QPointF ChaosScene::gravity() const
{
    switch (m_mode) {
    case ChaosMode::gravity:
        return {18, -620};
    case ChaosMode::earthquake:
        return {0, -180};
    case ChaosMode::zeroGravity:
    case ChaosMode::vortex:
        break;
    }
    return {0, 0};
}

void ChaosScene::buildEdges()
{
    const QRectF inner(edgeInsetX, edgeInsetY, m_size.width() - 2 * edgeInsetX, m_size.height() - 2 * edgeInsetY);
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    // Chain edges collide on one side only, to the right of their direction: clockwise in
    // y-up space keeps the bodies inside.
    const b2Vec2 corners[4] = {toWorld({inner.left(), inner.bottom()}), toWorld({inner.right(), inner.bottom()}),
                               toWorld({inner.right(), inner.top()}), toWorld({inner.left(), inner.top()})};
    b2ChainShape loop;
    loop.CreateLoop(corners, 4);
    b2BodyDef def;
    m_world->CreateBody(&def)->CreateFixture(&loop, 0);
}

QPointF ChaosScene::startPosition(int i)
{
    const double w = m_size.width(), h = m_size.height();
    switch (m_mode) {
    case ChaosMode::gravity: {
        const int columns = std::max(1, int(std::floor(w / 96)));
        return {52.0 + 92.0 * (i % columns), h - 125 - 78.0 * (i / columns)};
    }
    case ChaosMode::zeroGravity: {
        const double x = uniform(70, std::max(w - 70, 71.0));
        return {x, uniform(90, std::max(h - 100, 91.0))};
    }
    case ChaosMode::vortex: {
        const double theta = 2 * std::numbers::pi * i / std::max<size_t>(m_items.size(), 1);
        const double r = 0.42 * std::min(w, h);
        return {w / 2 + r * std::cos(theta), h / 2 + r * std::sin(theta)};
    }
    case ChaosMode::earthquake:
        return {w - 60 - 78.0 * (i % 4), h - 110 - 86.0 * (i / 4)};
    }
    return {};
}

QPointF ChaosScene::startVelocity(int i)
{
    switch (m_mode) {
    case ChaosMode::gravity:
        return {uniform(-65, 65), uniform(-90, -35)};
    case ChaosMode::zeroGravity:
        return {uniform(-150, 150), uniform(-130, 130)};
    case ChaosMode::vortex: {
        const double v = uniform(90, 180);
        return {i % 2 == 0 ? v : -v, uniform(-150, 150)};
    }
    case ChaosMode::earthquake:
        break;
    }
    return {0, 0};
}

void ChaosScene::addItems()
{
    const double w = m_size.width(), h = m_size.height();
    const BodyFeel feel = feelOf(m_mode);
    const QRectF inside(dragInset, dragInset, w - 2 * dragInset, h - 2 * dragInset);
    for (int i = 0; i < int(m_items.size()); ++i) {
        const DesktopVisualItem &item = m_items[size_t(i)];
        QPointF position = startPosition(i);
        if (item.axBounds) {
            const QPointF centre = item.axBounds->center();
            const QPointF mapped(centre.x() - m_effectFrame.x(), m_primaryScreenTop - centre.y() - m_effectFrame.y());
            if (inside.contains(mapped))
                position = mapped;
        }

        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position = toWorld(position);
        def.linearDamping = feel.linearDamping;
        def.angularDamping = 0.25f;
        def.angularVelocity = float(uniform(-1.7, 1.7));
        def.linearVelocity = toWorld(startVelocity(i));
        b2Body *body = m_world->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(float(itemWidth / 2 / pointsPerMeter), float(itemHeight / 2 / pointsPerMeter));
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.density = float(itemMass / (itemWidth * itemHeight / (pointsPerMeter * pointsPerMeter)));
        fixture.friction = 0.48f;
        fixture.restitution = feel.restitution;
        body->CreateFixture(&fixture);
        m_nodes.push_back({body, makePicture(item), 0});
    }
}

QImage ChaosScene::makePicture(const DesktopVisualItem &item) const
{
    const QString label = labelText(item.name);
    const QFont font = Appearance::font(FontRole::subheadline, QFont::Medium);
    const qreal labelWidth = QFontMetricsF(font).horizontalAdvance(label);
    const QSizeF size(std::ceil(std::max(itemWidth, labelWidth + 4)), itemHeight);
    QImage picture((size * pictureScale).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(pictureScale);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    // The node's origin sits at the picture's centre; y grows downwards here.
    const QPointF origin(size.width() / 2, size.height() / 2);
    if (!item.image.isNull())
        painter.drawImage(QRectF(origin.x() - iconSide / 2, origin.y() - iconCentreY - iconSide / 2, iconSide, iconSide),
                          item.image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, origin.y() - labelCentreY - 8, size.width(), 16), Qt::AlignCenter, label);
    return picture;
}

QString ChaosScene::labelText(const QString &name)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name);
    QList<qsizetype> ends;
    while (graphemes.toNextBoundary() > 0)
        ends.append(graphemes.position());
    if (ends.size() < 15)
        return name;
    return name.left(ends[12]) + QChar(0x2026);
}

double ChaosScene::uniform(double low, double high)
{
    return low + (high - low) * m_random.generateDouble();
}

void ChaosScene::kick()
{
    const double kickScale = kickPointsPerSecond / pointsPerMeter;
    for (const Node &node : m_nodes) {
        if (node.body->GetType() != b2_dynamicBody)
            continue;
        const double dx = uniform(-1.2, 1.2), dy = uniform(0.15, 0.9);
        node.body->ApplyLinearImpulseToCenter(b2Vec2(float(dx * kickScale), float(dy * kickScale)), true);
    }
    ++m_kicksDone;
}

void ChaosScene::applyField()
{
    const QPointF centre(m_size.width() / 2, m_size.height() / 2);
    const double reach = std::max(m_size.width(), m_size.height());
    for (const Node &node : m_nodes) {
        if (node.body->GetType() != b2_dynamicBody)
            continue;
        const QPointF towards = centre - fromWorld(node.body->GetPosition());
        const double distance = std::hypot(towards.x(), towards.y());
        if (distance > reach || distance <= 0)
            continue;
        const double meters = std::max(distance / pointsPerMeter, fieldMinimumRadiusMeters);
        const double acceleration = vortexStrength / std::pow(meters, vortexFalloff);
        const double force = node.body->GetMass() * acceleration / distance;
        node.body->ApplyForceToCenter(b2Vec2(float(towards.x() * force), float(towards.y() * force)), true);
    }
}

void ChaosScene::step()
{
    if (m_mode == ChaosMode::vortex)
        applyField();
    m_world->Step(float(stepSeconds), velocityIterations, positionIterations);
    m_elapsed += stepSeconds;
    if (m_mode == ChaosMode::earthquake && !m_nodes.empty()) {
        while (m_kicksDone < earthquakeKicks && m_elapsed >= m_kicksDone * earthquakeKickInterval)
            kick();
    }
}

void ChaosScene::clear()
{
    for (const Node &node : m_nodes)
        m_world->DestroyBody(node.body);
    m_nodes.clear();
    m_items.clear();
    m_dragged.reset();
    m_kicksDone = earthquakeKicks;
}

QPointF ChaosScene::itemPosition(int index) const
{
    return fromWorld(m_nodes.at(size_t(index)).body->GetPosition());
}

QPointF ChaosScene::itemVelocity(int index) const
{
    return fromWorld(m_nodes.at(size_t(index)).body->GetLinearVelocity());
}

bool ChaosScene::isItemSimulated(int index) const
{
    return m_nodes.at(size_t(index)).body->GetType() == b2_dynamicBody;
}

std::optional<int> ChaosScene::itemAt(QPointF point) const
{
    const b2Vec2 p = toWorld(point);
    // The topmost first: a dragged item, then the later ones, drawn over the earlier.
    if (m_dragged && m_nodes[size_t(*m_dragged)].body->GetFixtureList()->TestPoint(p))
        return m_dragged;
    for (int i = int(m_nodes.size()) - 1; i >= 0; --i) {
        if (m_nodes[size_t(i)].body->GetFixtureList()->TestPoint(p))
            return i;
    }
    return std::nullopt;
}

void ChaosScene::mouseDown(QPointF point)
{
    const auto hit = itemAt(point);
    if (!hit)
        return;
    Node &node = m_nodes[size_t(*hit)];
    m_dragged = hit;
    m_dragStart = point;
    m_dragOffset = fromWorld(node.body->GetPosition()) - point;
    // Held bodies follow the pointer and still push the others aside.
    node.body->SetType(b2_kinematicBody);
    node.body->SetLinearVelocity(b2Vec2_zero);
    node.body->SetAngularVelocity(0);
    node.z = 30;
}

void ChaosScene::mouseDragged(QPointF point)
{
    if (!m_dragged)
        return;
    b2Body *body = m_nodes[size_t(*m_dragged)].body;
    const QPointF wanted = point + m_dragOffset;
    const QPointF clamped(std::min(std::max(wanted.x(), dragInset), m_size.width() - dragInset),
                          std::min(std::max(wanted.y(), dragInset), m_size.height() - dragInset));
    body->SetTransform(toWorld(clamped), body->GetAngle());
}

void ChaosScene::mouseUp(QPointF point, int clickCount)
{
    if (!m_dragged)
        return;
    const int index = *m_dragged;
    Node &node = m_nodes[size_t(index)];
    const QPointF moved = point - m_dragStart;
    const double distance = std::hypot(moved.x(), moved.y());
    node.body->SetType(b2_dynamicBody);
    node.z = 0;
    m_dragged.reset();
    if (distance < openDistance && clickCount == 2) {
        if (const auto &url = m_items[size_t(index)].url) {
            openUrl(*url);
            // The owner may end the whole run from here; nothing of the scene is touched after.
            if (onOpen)
                onOpen();
            return;
        }
    }
    if (distance >= openDistance)
        node.body->SetLinearVelocity(toWorld(moved * throwFactor));
}

double ChaosScene::bannerOpacity() const
{
    const double t = m_elapsed;
    if (t < bannerFadeIn)
        return t / bannerFadeIn;
    if (t < bannerFadeIn + bannerHold)
        return 1;
    return std::max(0.0, 1 - (t - bannerFadeIn - bannerHold) / bannerFadeOut);
}

QString ChaosScene::bannerText() const
{
    return ChaosModes::displayName(m_mode).toUpper()
           + QStringLiteral("  \u00b7  DRAG FILES  \u00b7  DOUBLE CLICK TO OPEN  \u00b7  ESC TO RESET");
}

void ChaosScene::paint(QPainter &painter) const
{
    const double h = m_size.height();
    if (hasBackdrop()) {
        const QRectF &frame = m_backdrop.frame;
        painter.drawImage(QPointF(frame.x(), h - frame.y() - frame.height()), m_backdrop.picture);
    }

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto drawNode = [&](const Node &node) {
        const QPointF p = fromWorld(node.body->GetPosition());
        const QSizeF size = node.picture.deviceIndependentSize();
        painter.save();
        painter.translate(p.x(), h - p.y());
        // Counter-clockwise in the scene is clockwise in the panel's y-down space.
        painter.rotate(-qRadiansToDegrees(double(node.body->GetAngle())));
        painter.drawImage(QRectF(-size.width() / 2, -size.height() / 2, size.width(), size.height()), node.picture);
        painter.restore();
    };
    for (const Node &node : m_nodes) {
        if (node.z == 0)
            drawNode(node);
    }
    if (m_dragged)
        drawNode(m_nodes[size_t(*m_dragged)]);
    painter.restore();

    const double opacity = bannerOpacity();
    if (opacity <= 0)
        return;
    painter.save();
    painter.setOpacity(opacity);
    const QPointF centre(m_size.width() / 2, 80);
    // The label fits the 620-point backing: its size comes down first, and a label still too
    // wide takes two lines in a backing grown taller.
    const qreal width = 620;
    const qreal textWidth = width - 2 * 19;
    const QFont full = Appearance::font(FontRole::title2, QFont::Bold);
    QFont font = full;
    for (int size = 16; size >= 12 && QFontMetricsF(font).horizontalAdvance(bannerText()) > textWidth; --size)
        font = scaled(full, size / 17.0);
    const bool wraps = QFontMetricsF(font).horizontalAdvance(bannerText()) > textWidth;
    const qreal height = wraps ? 2 * QFontMetricsF(font).lineSpacing() + 14 : 38;
    const QRectF backing(centre.x() - width / 2, centre.y() - height / 2, width, height);
    QPainterPath path;
    path.addRoundedRect(backing, std::min(19.0, height / 2), std::min(19.0, height / 2));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, Appearance::color(ColorRole::windowBackground, 0.9));
    painter.setPen(QPen(Appearance::color(ColorRole::separator), 1));
    painter.drawPath(path);
    painter.setFont(font);
    painter.setPen(Appearance::color(ColorRole::primary));
    painter.drawText(backing.adjusted(19, 0, -19, 0), Qt::AlignCenter | Qt::TextWordWrap, bannerText());
    painter.restore();
}
