#include "Focus/FocusJsonWriter.h"

#include <QLocale>

FocusJsonWriter::FocusJsonWriter(QByteArray &out) : m_out(out)
{
    m_out.append('{');
}

QString FocusJsonWriter::uuidText(const QUuid &value)
{
    return value.toString(QUuid::WithoutBraces).toUpper();
}

void FocusJsonWriter::key(std::string_view name)
{
    if (!m_first)
        m_out.append(',');
    m_first = false;
    m_out.append('"').append(name.data(), qsizetype(name.size())).append("\":");
}

void FocusJsonWriter::appendString(QStringView text)
{
    static constexpr char16_t hex[] = u"0123456789abcdef";
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            escaped.append(u"\\\"");
            break;
        case u'\\':
            escaped.append(u"\\\\");
            break;
        case u'\n':
            escaped.append(u"\\n");
            break;
        case u'\r':
            escaped.append(u"\\r");
            break;
        case u'\t':
            escaped.append(u"\\t");
            break;
        case u'\b':
            escaped.append(u"\\b");
            break;
        case u'\f':
            escaped.append(u"\\f");
            break;
        default:
            if (c.unicode() < 0x20)
                escaped.append(u"\\u00").append(QChar(hex[c.unicode() >> 4])).append(QChar(hex[c.unicode() & 0xF]));
            else
                escaped.append(c);
        }
    }
    escaped.append(u'"');
    // Surrogate pairs are converted together; a lone half becomes U+FFFD.
    m_out.append(escaped.toUtf8());
}

FocusJsonWriter &FocusJsonWriter::string(std::string_view name, const QString &value)
{
    key(name);
    appendString(value);
    return *this;
}

FocusJsonWriter &FocusJsonWriter::uuid(std::string_view name, const QUuid &value)
{
    return string(name, uuidText(value));
}

FocusJsonWriter &FocusJsonWriter::date(std::string_view name, const FocusDate &value)
{
    key(name);
    // The shortest text that reads back as the same double.
    m_out.append(QByteArray::number(value.secondsSinceReference(), 'f', QLocale::FloatingPointShortest));
    return *this;
}

FocusJsonWriter &FocusJsonWriter::integer(std::string_view name, qint64 value)
{
    key(name);
    m_out.append(QByteArray::number(value));
    return *this;
}

FocusJsonWriter &FocusJsonWriter::boolean(std::string_view name, bool value)
{
    key(name);
    m_out.append(value ? "true" : "false");
    return *this;
}

FocusJsonWriter &FocusJsonWriter::strings(std::string_view name, const QStringList &values)
{
    key(name);
    m_out.append('[');
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            m_out.append(',');
        appendString(values[i]);
    }
    m_out.append(']');
    return *this;
}

FocusJsonWriter &FocusJsonWriter::uuids(std::string_view name, const QList<QUuid> &values)
{
    QStringList texts;
    texts.reserve(values.size());
    for (const QUuid &value : values)
        texts.append(uuidText(value));
    return strings(name, texts);
}

void FocusJsonWriter::finish()
{
    m_out.append('}');
}
