#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>

#include <functional>
#include <iostream>
#include <unistd.h>

// The command loop of a desktop-test helper program: each line on standard input is split
// into words and handed to `answer`, whose reply is printed on a line of its own. "quit"
// (answered "ok") and the end of the input quit the application.
class ProbeCommandLoop {
public:
    using Answer = std::function<QString(const QStringList &words)>;

    explicit ProbeCommandLoop(Answer answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_input, &QSocketNotifier::activated, [this] { readInput(); });
    }

private:
    void readInput()
    {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            m_input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        m_pending.append(buffer, qsizetype(count));
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QStringList words = QString::fromUtf8(m_pending.left(end)).split(u' ', Qt::SkipEmptyParts);
            m_pending.remove(0, end + 1);
            std::cout << answer(words).toStdString() << std::endl;
        }
    }

    QString answer(const QStringList &words) const
    {
        if (words.value(0) != QLatin1String("quit"))
            return m_answer(words);
        QCoreApplication::quit();
        return QStringLiteral("ok");
    }

    Answer m_answer;
    QSocketNotifier m_input{STDIN_FILENO, QSocketNotifier::Read};
    QByteArray m_pending;
};
