#include "platform/core/Bundle.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/core/Installed.h"
#include "platform/core/Log.h"
#include "platform/core/ProgramFolder.h"


namespace platform {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

constexpr const char* kDefaultLanguage = "en";
constexpr const char* kDefaultTable = "Localizable";

Installed<std::shared_ptr<const Bundle>>& mainSlot() {
    static Installed<std::shared_ptr<const Bundle>> bundle(
        [] { return std::shared_ptr<const Bundle>(std::make_shared<Bundle>(Bundle::locateResources())); });
    return bundle;
}

// A flat JSON object of texts; anything else reads as empty, with one log line.
std::map<std::string, std::string> readTextObject(const fs::path& file) {
    std::map<std::string, std::string> texts;
    std::ifstream in(file);
    if (!in) return texts;
    const json parsed = json::parse(in, nullptr, /*allow_exceptions=*/false);
    if (!parsed.is_object()) {
        NSLog("Resource %@ is not a JSON object of texts; ignored", file.string());
        return texts;
    }
    for (const auto& [key, value] : parsed.items()) {
        if (value.is_string()) texts[key] = value.get<std::string>();
    }
    return texts;
}

bool isResourceFolder(const fs::path& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_regular_file(folder / "Info.json", ec);
}

}  // namespace

Bundle::Bundle(std::filesystem::path resourcePath, std::string language)
    : resourcePath_(std::move(resourcePath)), info_(readTextObject(resourcePath_ / "Info.json")) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(resourcePath_ / "strings", ec)) {
        if (entry.is_directory()) localizations_.push_back(entry.path().filename().string());
    }
    std::sort(localizations_.begin(), localizations_.end());
    const bool available = std::find(localizations_.begin(), localizations_.end(), language) != localizations_.end();
    language_ = available ? language : kDefaultLanguage;
    for (const auto& entry : fs::directory_iterator(resourcePath_ / "strings" / language_, ec)) {
        if (entry.path().extension() == ".json") {
            tables_[entry.path().stem().string()] = readTextObject(entry.path());
        }
    }
}

std::shared_ptr<const Bundle> Bundle::mainBundle() { return mainSlot().get(); }

void Bundle::setMainBundle(std::shared_ptr<const Bundle> bundle) { mainSlot().installOrDefault(std::move(bundle)); }

std::filesystem::path Bundle::locateResources() {
    if (const char* env = std::getenv("PALLQA_RESOURCES"); env && isResourceFolder(env)) return env;
    // Only where the program itself is: a program in its build tree has a link
    // to the resources beside it, an installed one its own copy under its prefix.
    const fs::path exeFolder = programFolder();
    const fs::path beside = exeFolder / "resources";
    const fs::path installed = (exeFolder / PALLQA_RESOURCES_FROM_BINDIR).lexically_normal();
    for (const fs::path& candidate : {beside, installed}) {
        if (isResourceFolder(candidate)) return candidate;
    }
    NSLog("Resources folder not found (looked in %@ and %@); pictures, sounds and texts are missing",
          beside.string(), installed.string());
    return beside;
}

std::string Bundle::preferredLanguageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        std::string language(value);
        language = language.substr(0, language.find_first_of("_.@"));
        if (language == "C" || language == "POSIX") return kDefaultLanguage;
        return language;
    }
    return kDefaultLanguage;
}

std::optional<std::filesystem::path> Bundle::pathForResource(const std::string& name,
                                                             const std::string& extension) const {
    const std::string file = extension.empty() ? name : name + "." + extension;
    std::error_code ec;
    // A picture with words in it has a copy per language under localized/<language>/.
    if (fs::path localized = resourcePath_ / "localized" / language_ / file; fs::exists(localized, ec)) {
        return localized;
    }
    fs::path path = resourcePath_ / file;
    if (fs::exists(path, ec)) return path;
    return std::nullopt;
}

std::string Bundle::infoValue(const std::string& key) const {
    auto it = info_.find(key);
    return it == info_.end() ? std::string() : it->second;
}

const Bundle::Table* Bundle::table(const std::string& name) const {
    auto it = tables_.find(name.empty() ? kDefaultTable : name);
    return it == tables_.end() ? nullptr : &it->second;
}

std::string Bundle::localizedString(const std::string& key, const std::string& value, const std::string& tableName) const {
    if (const Table* texts = table(tableName)) {
        if (auto it = texts->find(key); it != texts->end()) return it->second;
    }
    return value.empty() ? key : value;
}

char Bundle::decimalSeparator() const {
    const std::string mark = localizedString("DecimalSeparator", ".");
    return mark.size() == 1 ? mark.front() : '.';
}

}  // namespace platform
