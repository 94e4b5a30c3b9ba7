// Writes the settings store's published properties from the settings table:
//   settingsgen <table> <header template> <output folder>
// The output folder receives SettingsStore.h (the template with its marked sections filled),
// SettingsStoreProperties.cpp (the constructor and setters) and SettingsDefaults.h.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TypeInfo {
    std::string parameter;
    std::string reader;
    bool constexprDefault;
};

const std::map<std::string, TypeInfo> types = {
    {"bool", {"bool ", "toBool", true}},
    {"int", {"int ", "toInt", true}},
    {"double", {"double ", "toDouble", true}},
    {"QString", {"const QString &", "toString", false}},
    {"QStringList", {"const QStringList &", "toStringList", false}},
};

struct Setting {
    std::string key;
    std::string type;
    std::string defaultValue;
};

std::string trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The line up to a comment that starts with an unquoted '#'.
std::string withoutComment(const std::string &line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && quoted)
            ++i;
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == '#' && !quoted)
            return line.substr(0, i);
    }
    return line;
}

bool isIdentifier(const std::string &text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

std::optional<std::vector<Setting>> readTable(const std::string &path)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "settingsgen: cannot read %s\n", path.c_str());
        return std::nullopt;
    }
    std::vector<Setting> settings;
    std::set<std::string> keys;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string body = withoutComment(line);
        std::istringstream fields(body);
        Setting setting;
        if (!(fields >> setting.key))
            continue;
        fields >> setting.type;
        std::getline(fields, setting.defaultValue);
        setting.defaultValue = trim(setting.defaultValue);
        const char *problem = nullptr;
        if (!isIdentifier(setting.key))
            problem = "key is not a name";
        else if (!types.contains(setting.type))
            problem = "unknown type";
        else if (setting.defaultValue.empty())
            problem = "no default";
        else if (!keys.insert(setting.key).second)
            problem = "key listed twice";
        if (problem) {
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, problem);
            return std::nullopt;
        }
        settings.push_back(setting);
    }
    return settings;
}

std::string capitalized(std::string key)
{
    key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    return key;
}

std::string defaultExpression(const Setting &setting)
{
    if (setting.type == "QString")
        return "QStringLiteral(" + setting.defaultValue + ")";
    if (setting.type == "QStringList")
        return "QStringList" + setting.defaultValue;
    return setting.defaultValue;
}

std::string properties(const std::vector<Setting> &settings)
{
    std::string out;
    for (const Setting &s : settings) {
        out += "    Q_PROPERTY(" + s.type + " " + s.key + " READ " + s.key + " WRITE set" + capitalized(s.key)
            + " NOTIFY " + s.key + "Changed)\n";
    }
    return out;
}

std::string accessors(const std::vector<Setting> &settings)
{
    std::string out;
    for (const Setting &s : settings) {
        out += "    " + s.type + " " + s.key + "() const { return m_" + s.key + "; }\n";
        out += "    void set" + capitalized(s.key) + "(" + types.at(s.type).parameter + "value);\n";
    }
    return out;
}

std::string signalDeclarations(const std::vector<Setting> &settings)
{
    std::string out;
    for (const Setting &s : settings)
        out += "    void " + s.key + "Changed(" + types.at(s.type).parameter + "value);\n";
    return out;
}

std::string fields(const std::vector<Setting> &settings)
{
    std::string out;
    for (const Setting &s : settings)
        out += "    " + s.type + " m_" + s.key + ";\n";
    return out;
}

std::string source(const std::vector<Setting> &settings)
{
    std::string out = "// Generated from the settings table by settingsgen.\n"
                      "#include \"Services/SettingsStore.h\"\n\n"
                      "#include \"Services/SettingsDefaults.h\"\n"
                      "#include \"Services/SettingsValue.h\"\n\n"
                      "SettingsStore::SettingsStore(UserDefaults &defaults, QObject *parent)\n"
                      "    : QObject(parent)\n"
                      "    , m_defaults(defaults)\n";
    for (const Setting &s : settings) {
        out += "    , m_" + s.key + "(SettingsValue::" + types.at(s.type).reader + "(defaults.value(QStringLiteral(\"" + s.key
            + "\"))).value_or(SettingsDefaults::" + s.key + "))\n";
    }
    out += "{\n    m_loading = false;\n}\n";
    for (const Setting &s : settings) {
        const TypeInfo &type = types.at(s.type);
        out += "\nvoid SettingsStore::set" + capitalized(s.key) + "(" + type.parameter + "value)\n{\n"
            + "    assign(m_" + s.key + ", value, QStringLiteral(\"" + s.key + "\"), &SettingsStore::" + s.key + "Changed);\n}\n";
    }
    return out;
}

std::string defaultsHeader(const std::vector<Setting> &settings)
{
    std::string out = "// Generated from the settings table by settingsgen.\n"
                      "#pragma once\n\n#include <QString>\n#include <QStringList>\n\n"
                      "// Default of every preference.\n"
                      "namespace SettingsDefaults {\n";
    for (const Setting &s : settings) {
        out += std::string("inline ") + (types.at(s.type).constexprDefault ? "constexpr " : "const ") + s.type + " " + s.key + " = "
            + defaultExpression(s) + ";\n";
    }
    return out + "}\n";
}

bool replaceMarker(std::string &text, const std::string &marker, const std::string &content)
{
    const std::string line = "@" + marker + "@\n";
    const auto at = text.find(line);
    if (at == std::string::npos) {
        std::fprintf(stderr, "settingsgen: the template has no %s line\n", line.substr(0, line.size() - 1).c_str());
        return false;
    }
    text.replace(at, line.size(), content);
    return true;
}

// Leaves a file that already holds the same text untouched, so nothing rebuilds needlessly.
bool writeIfChanged(const std::filesystem::path &path, const std::string &text)
{
    std::ifstream existing(path, std::ios::binary);
    std::stringstream old;
    old << existing.rdbuf();
    if (existing && old.str() == text)
        return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        std::fprintf(stderr, "settingsgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: settingsgen <table> <header template> <output folder>\n");
        return 2;
    }
    const auto settings = readTable(argv[1]);
    if (!settings)
        return 1;
    std::ifstream templateIn(argv[2], std::ios::binary);
    std::stringstream templateText;
    templateText << templateIn.rdbuf();
    if (!templateIn) {
        std::fprintf(stderr, "settingsgen: cannot read %s\n", argv[2]);
        return 1;
    }
    std::string header = "// Generated from SettingsStore.h.in and the settings table by settingsgen.\n" + templateText.str();
    if (!replaceMarker(header, "PROPERTIES", properties(*settings)) || !replaceMarker(header, "ACCESSORS", accessors(*settings))
        || !replaceMarker(header, "SIGNALS", signalDeclarations(*settings)) || !replaceMarker(header, "FIELDS", fields(*settings))) {
        return 1;
    }
    const std::filesystem::path out(argv[3]);
    std::filesystem::create_directories(out);
    const bool written = writeIfChanged(out / "SettingsStore.h", header)
        && writeIfChanged(out / "SettingsStoreProperties.cpp", source(*settings))
        && writeIfChanged(out / "SettingsDefaults.h", defaultsHeader(*settings));
    return written ? 0 : 1;
}
