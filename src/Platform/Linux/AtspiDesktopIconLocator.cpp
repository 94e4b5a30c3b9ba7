#include "Platform/Linux/AtspiDesktopIconLocator.h"

#include "Foundation/WhenFinished.h"
#include "Platform/DesktopIconWalk.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QStringList>
#include <QtConcurrent/QtConcurrentRun>

namespace {
const QString accessibleInterface = QStringLiteral("org.a11y.atspi.Accessible");
const QString componentInterface = QStringLiteral("org.a11y.atspi.Component");
// Each request is answered by another program; a hung one must not hold the run up, so
// every request and the whole walk have a time limit.
constexpr int replyTimeoutMs = 250;
constexpr int walkTimeoutMs = 1500;
constexpr int busStartTimeoutMs = 1000;
constexpr uint screenCoordinates = 0;

struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

struct Walk {
    QDBusConnection bus;
    QDeadlineTimer deadline;
};

QDBusMessage call(const Walk &walk, const ObjectReference &object, const QString &interface, const QString &method,
                  const QVariantList &arguments = {})
{
    const qint64 remainingMs = walk.deadline.remainingTime();
    if (remainingMs <= 0)
        return {};
    QDBusMessage message = QDBusMessage::createMethodCall(object.service, object.path.path(), interface, method);
    message.setArguments(arguments);
    return walk.bus.call(message, QDBus::Block, int(std::min<qint64>(remainingMs, replyTimeoutMs)));
}

QVariant firstReply(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst();
}

class AtspiNode final : public AccessibleNode {
public:
    AtspiNode(std::shared_ptr<const Walk> walk, ObjectReference object)
        : m_walk(std::move(walk))
        , m_object(std::move(object))
    {
    }

    // Toolkits name their roles in their own words ("graphic", "image"); the numbers are shared.
    QString roleName() const override
    {
        const QVariant role = firstReply(call(*m_walk, m_object, accessibleInterface, QStringLiteral("GetRole")));
        switch (role.toUInt()) {
        case 13:
            return QStringLiteral("desktop icon");
        case 26:
            return QStringLiteral("icon");
        case 27:
            return QStringLiteral("image");
        default:
            return QStringLiteral("other");
        }
    }

    QString name() const override
    {
        const QVariant value = firstReply(call(*m_walk, m_object, QStringLiteral("org.freedesktop.DBus.Properties"),
                                               QStringLiteral("Get"), {accessibleInterface, QStringLiteral("Name")}));
        return value.value<QDBusVariant>().variant().toString();
    }

    std::optional<QRect> extents() const override
    {
        const QVariant value = firstReply(
            call(*m_walk, m_object, componentInterface, QStringLiteral("GetExtents"), {QVariant::fromValue(screenCoordinates)}));
        if (!value.canConvert<QDBusArgument>())
            return std::nullopt;
        int x = 0, y = 0, width = 0, height = 0;
        const auto argument = value.value<QDBusArgument>();
        argument.beginStructure();
        argument >> x >> y >> width >> height;
        argument.endStructure();
        if (width <= 0 || height <= 0)
            return std::nullopt;
        return QRect(x, y, width, height);
    }

    std::vector<std::unique_ptr<AccessibleNode>> children() const override
    {
        std::vector<std::unique_ptr<AccessibleNode>> result;
        const QVariant value = firstReply(call(*m_walk, m_object, accessibleInterface, QStringLiteral("GetChildren")));
        if (!value.canConvert<QDBusArgument>())
            return result;
        const auto argument = value.value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            ObjectReference child;
            argument.beginStructure();
            argument >> child.service >> child.path;
            argument.endStructure();
            result.push_back(std::make_unique<AtspiNode>(m_walk, std::move(child)));
        }
        argument.endArray();
        return result;
    }

private:
    std::shared_ptr<const Walk> m_walk;
    ObjectReference m_object;
};

// Accessible application names of the programs that draw desktop icons.
const QStringList &desktopManagerNames()
{
    static const QStringList names{QStringLiteral("nemo-desktop"), QStringLiteral("caja"),      QStringLiteral("pcmanfm"),
                                   QStringLiteral("pcmanfm-qt"),   QStringLiteral("xfdesktop"), QStringLiteral("nautilus"),
                                   QStringLiteral("spacefm")};
    return names;
}

std::optional<QDBusConnection> accessibilityBus()
{
    const QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    // The bus may first have to be started for us.
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(request, QDBus::Block, busStartTimeoutMs);
    if (!address.isValid() || address.value().isEmpty())
        return std::nullopt;
    const QString name = QStringLiteral("plinkly-accessibility");
    QDBusConnection bus = QDBusConnection::connectToBus(address.value(), name);
    if (!bus.isConnected()) {
        // A connection made to an earlier bus that has gone since is kept under the name.
        QDBusConnection::disconnectFromBus(name);
        bus = QDBusConnection::connectToBus(address.value(), name);
    }
    if (!bus.isConnected())
        return std::nullopt;
    return bus;
}

DesktopIconLocator::Sight walkDesktop()
{
    using Look = DesktopIconLocator::Sight::Look;
    const auto bus = accessibilityBus();
    if (!bus)
        return {Look::unfinished, {}};
    auto walk = std::make_shared<const Walk>(Walk{*bus, QDeadlineTimer(walkTimeoutMs)});
    const AtspiNode registry(walk, {QStringLiteral("org.a11y.atspi.Registry"),
                                    QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))});
    for (const auto &application : registry.children()) {
        if (desktopManagerNames().contains(application->name(), Qt::CaseInsensitive)) {
            DesktopIconLocator::Positions positions = DesktopIconWalk::positions(*application);
            // A walk cut short by its time limit has not seen the whole desktop.
            return {walk->deadline.hasExpired() ? Look::unfinished : Look::finished, std::move(positions)};
        }
    }
    return {Look::unfinished, {}};
}
}

void AtspiDesktopIconLocator::findPositions(std::function<void(Sight)> answer)
{
    whenFinished(QtConcurrent::run(walkDesktop), &m_answers, std::move(answer));
}
