#include "Platform/Linux/AtspiSecureInputSource.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString eventInterface = QStringLiteral("org.a11y.atspi.Event.Object");
// The "password text" role. Asked by number: some toolkits name every text role "text".
constexpr uint passwordTextRole = 40;

QString objectKey(const QString &service, const QString &path)
{
    return service + path;
}

// Runs `handle` with the reply once the call is answered, unless `context` is gone by then.
template <typename Reply, typename Handler>
void whenAnswered(const QDBusPendingCall &call, QObject *context, Handler handle)
{
    auto *watcher = new QDBusPendingCallWatcher(call, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [handle = std::move(handle)](QDBusPendingCallWatcher *finished) {
                         handle(Reply(*finished));
                         finished->deleteLater();
                     });
}
}

AtspiSecureInputSource::AtspiSecureInputSource(QDBusConnection sessionBus, QObject *parent)
    : QObject(parent)
    , m_sessionBus(std::move(sessionBus))
    , m_connectionName(QStringLiteral("plinkly-a11y-%1").arg(quintptr(this)))
{
}

AtspiSecureInputSource::~AtspiSecureInputSource()
{
    if (m_accessibilityBus)
        QDBusConnection::disconnectFromBus(m_connectionName);
}

void AtspiSecureInputSource::start()
{
    if (m_accessibilityBus || !m_sessionBus.isConnected())
        return;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
        QStringLiteral("GetAddress"));
    whenAnswered<QDBusPendingReply<QString>>(m_sessionBus.asyncCall(call), this,
                                             [this](const QDBusPendingReply<QString> &reply) {
                                                 if (reply.isValid() && !reply.value().isEmpty())
                                                     connectTo(reply.value());
                                             });
}

void AtspiSecureInputSource::connectTo(const QString &address)
{
    if (m_accessibilityBus)
        return;
    QDBusConnection bus = QDBusConnection::connectToBus(address, m_connectionName);
    m_accessibilityBus = bus;
    if (!bus.isConnected())
        return;
    bus.connect(QString(), QString(), eventInterface, QStringLiteral("StateChanged"), this,
                SLOT(stateChanged(QDBusMessage)));
    // Applications send focus events only while some listener has registered for them.
    QDBusMessage registration = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
    // No extra properties, and for every application.
    registration << QStringLiteral("object:state-changed:focused") << QStringList() << QString();
    bus.asyncCall(registration);
}

void AtspiSecureInputSource::stateChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].toString() != u"focused")
        return;
    const QString key = objectKey(message.service(), message.path());
    if (arguments[1].toInt() == 0) {
        if (key == m_focused) {
            m_focused.clear();
            m_active.store(false, std::memory_order_relaxed);
        }
        return;
    }
    m_focused = key;
    m_active.store(false, std::memory_order_relaxed);
    const QDBusMessage call =
        QDBusMessage::createMethodCall(message.service(), message.path(), QStringLiteral("org.a11y.atspi.Accessible"),
                                       QStringLiteral("GetRole"));
    whenAnswered<QDBusPendingReply<uint>>(m_accessibilityBus->asyncCall(call), this,
                                          [this, key](const QDBusPendingReply<uint> &reply) {
                                              if (key == m_focused && reply.isValid())
                                                  m_active.store(reply.value() == passwordTextRole,
                                                                 std::memory_order_relaxed);
                                          });
}
