#pragma once

#include <QAnyStringView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <span>
#include <string_view>

// One mechanism for every enumeration whose cases have stored string values.
// An enumeration opts in by specialising RawEnumTable with its cases in declaration order:
//
//   template <> struct RawEnumTable<KeyPhase> {
//       static constexpr std::array entries{RawEnumEntry{KeyPhase::down, "down"},
//                                           RawEnumEntry{KeyPhase::up, "up"}};
//   };
template <typename E>
struct RawEnumEntry {
    E value;
    std::string_view raw;
};

template <typename E>
struct RawEnumTable;

template <typename E>
concept RawEnumeration = requires { RawEnumTable<E>::entries; };

template <RawEnumeration E>
QString rawValue(E value)
{
    for (const auto &entry : RawEnumTable<E>::entries) {
        if (entry.value == value)
            return QString::fromUtf8(entry.raw.data(), qsizetype(entry.raw.size()));
    }
    return {};
}

// Case-sensitive: "Regular" does not name KeyGroup::regular.
template <RawEnumeration E>
std::optional<E> fromRaw(QStringView text)
{
    for (const auto &entry : RawEnumTable<E>::entries) {
        if (QAnyStringView::compare(text, QUtf8StringView(entry.raw.data(), qsizetype(entry.raw.size()))) == 0)
            return entry.value;
    }
    return std::nullopt;
}

// The stored identifier, or the first case when it names none.
template <RawEnumeration E>
E fromRawOrFirst(QStringView text)
{
    return fromRaw<E>(text).value_or(RawEnumTable<E>::entries.front().value);
}

template <RawEnumeration E>
constexpr auto allCases()
{
    constexpr auto &entries = RawEnumTable<E>::entries;
    std::array<E, entries.size()> cases{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        cases[i] = entries[i].value;
    return cases;
}
