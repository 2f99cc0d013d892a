#pragma once
// The application's bundle: its resources folder, its information dictionary
// (identifier, version, names) and its localised string tables.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Bundle {
public:
    // Reads resources/Info.json and the string tables under resources/strings/.
    explicit Bundle(std::filesystem::path resourcePath, std::string language = preferredLanguageFromEnvironment());

    // The process's bundle; until one is installed, the one found by
    // locateResources(). A caller keeps the bundle it was handed for as long as
    // it holds the handle.
    static std::shared_ptr<const Bundle> mainBundle();
    static void setMainBundle(std::shared_ptr<const Bundle> bundle);

    // The resources folder: $PALLQA_RESOURCES, else `resources` beside the
    // executable (a link in the build tree), else the installed copy under the
    // executable's prefix (../share/pallqa-tuner/resources).
    static std::filesystem::path locateResources();
    // The language asked for by LC_ALL, LC_MESSAGES or LANG ("es" from "es_PE.UTF-8").
    static std::string preferredLanguageFromEnvironment();

    const std::filesystem::path& resourcePath() const { return resourcePath_; }
    // The resource's file: the chosen language's own copy under localized/<language>/
    // where there is one, else the one every language shares.
    std::optional<std::filesystem::path> pathForResource(const std::string& name, const std::string& extension) const;

    std::string bundleIdentifier() const { return infoValue("CFBundleIdentifier"); }
    // A value of the information dictionary; empty when absent.
    std::string infoValue(const std::string& key) const;
    const std::map<std::string, std::string>& infoDictionary() const { return info_; }

    // The translation of `key` in `table` ("Localizable" when empty) for the
    // chosen language; else `value` when not empty; else the key itself.
    std::string localizedString(const std::string& key, const std::string& value = "",
                                const std::string& table = "") const;
    // The mark between a number's whole part and its fraction in the chosen
    // language: a comma in Spanish, a point in English and where none is given.
    char decimalSeparator() const;
    // The localisation in use: the preferred language when the bundle has it, else English.
    const std::string& language() const { return language_; }
    const std::vector<std::string>& localizations() const { return localizations_; }

private:
    using Table = std::map<std::string, std::string>;
    const Table* table(const std::string& name) const;

    std::filesystem::path resourcePath_;
    std::map<std::string, std::string> info_;
    std::vector<std::string> localizations_;
    std::string language_;
    std::map<std::string, Table> tables_;
};

}  // namespace platform
