#include "chords/ChordsViewController.h"

#include <tuple>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/ui/Image.h"
#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPrompt.h"

namespace chords {

bool flatSpelling = false;

namespace {

constexpr int64_t kRootPickerTag = 1;
constexpr int64_t kVariantPickerTag = 2;

// The start-up selection opens on roots "A" to "E" and on the plain or minor chord.
constexpr uint32_t kStartRootRows = 8;
constexpr uint32_t kStartVariantRows = 2;

// Tablets of these main-screen heights use the larger "pro" button pictures.
constexpr double kProTabletHeights[] = {1024.0, 1366.0};

bool isProTablet() {
    if (platform::Device::userInterfaceIdiom() != platform::Device::kIdiomTablet) return false;
    const double height = platform::Screen::mainBoundsHeight();
    for (const double proHeight : kProTabletHeights) {
        if (height == proHeight) return true;
    }
    return false;
}

bool isReviewThreshold(uint64_t chordsSearched) {
    switch (chordsSearched) {
        case 10:
        case 20:
        case 30:
        case 40:
        case 50:
            return true;
        default:
            return false;
    }
}

}  // namespace

ChordsViewController::ChordsViewController()
    : ChordsViewController(uniformRandom, &rating::RatingPrompt::tryToShowPrompt) {}

ChordsViewController::ChordsViewController(RandomSource random, std::function<void()> requestReview)
    : random_(std::move(random)), requestReview_(std::move(requestReview)) {}

void ChordsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    loadChordsTitle();
    loadChordList();
    preselectChord();
    describeSpellingButton();
}

void ChordsViewController::loadChordsTitle() {
    if (chordsTitle1) chordsTitle1->setText(platform::Bundle::mainBundle()->localizedString("ChordsTitleGlobal", "", ""));
}

void ChordsViewController::loadChordList() {
    chordList_.clear();
    for (const auto key : kRootKeys) {
        chordList_.push_back(platform::Bundle::mainBundle()->localizedString(std::string(key), "", ""));
    }
    variantList_.assign(kVariantKeys.begin(), kVariantKeys.end());
    const auto bundle = platform::Bundle::mainBundle();
    const std::string rootName = bundle->localizedString("SpokenRootPicker", "Root");
    const std::string variantName = bundle->localizedString("SpokenChordTypePicker", "Chord type");
    for (const auto& [picker, tag, name] : {std::tuple{selectRootChord, kRootPickerTag, rootName},
                                            {selectVariant, kVariantPickerTag, variantName}}) {
        if (!picker) continue;
        // Named for screen readers, which find two lists side by side.
        picker->setAccessibilityLabel(name);
        picker->setTag(tag);
        picker->setDataSource(this);
        picker->setDelegate(this);
    }
}

int64_t ChordsViewController::numberOfComponentsInPickerView(platform::PickerView&) { return 1; }

int64_t ChordsViewController::pickerViewNumberOfRowsInComponent(platform::PickerView& picker, int64_t) {
    if (picker.tag() == kRootPickerTag) return static_cast<int64_t>(chordList_.size());
    if (picker.tag() == kVariantPickerTag) return static_cast<int64_t>(variantList_.size());
    return 0;
}

std::string ChordsViewController::pickerViewTitleForRow(platform::PickerView& picker, int64_t row, int64_t) {
    const auto& titles = picker.tag() == kRootPickerTag ? chordList_ : variantList_;
    // A row the picker does not have gets no title rather than a read past the list.
    if (row < 0 || static_cast<uint64_t>(row) >= titles.size()) return {};
    return titles[static_cast<size_t>(row)];
}

void ChordsViewController::pickerViewDidSelectRow(platform::PickerView& picker, uint64_t row, int64_t) {
    if (picker.tag() == kRootPickerTag && row < kRootCount) {
        currentChord_ = std::string(kRootKeys[row]);
        displayChord();
        applyVariant();
    }
    if (picker.tag() == kVariantPickerTag && row < kVariantCount) {
        currentVariant_ = std::string(kVariantKeys[row]);
        applyVariant();
    }
}

void ChordsViewController::preselectChord() {
    const uint32_t root = random_(kStartRootRows);
    const uint32_t variant = random_(kStartVariantRows);
    if (selectRootChord) selectRootChord->selectRow(root, 0, true);
    if (selectVariant) selectVariant->selectRow(variant, 0, true);
    if (selectRootChord) pickerViewDidSelectRow(*selectRootChord, root, 0);
    if (selectVariant) pickerViewDidSelectRow(*selectVariant, variant, 0);
    displayChord();
    applyVariant();
}

void ChordsViewController::toggleSharpOfFlat(platform::Control*) {
    flatSpelling = !flatSpelling;
    displayChord();
    applyVariant();
    // The button shows the spelling its next press selects.
    setButtonImage(flatSpelling ? "sharp.png" : "flat.png");
    if (isProTablet()) setButtonImage(flatSpelling ? "sharppro.png" : "flatpro.png");
}

void ChordsViewController::setButtonImage(const char* name) {
    if (buttonFlatOrSharp) buttonFlatOrSharp->setImage(platform::imageNamed(name), platform::ControlState::Normal);
    describeSpellingButton();
}

void ChordsViewController::describeSpellingButton() {
    if (!buttonFlatOrSharp) return;
    // The picture shows the spelling a press selects; the spoken name says the same.
    const platform::ImageRef& image = buttonFlatOrSharp->imageForState(platform::ControlState::Normal);
    const bool showsFlat = image && image->name.rfind("flat", 0) == 0;
    const auto bundle = platform::Bundle::mainBundle();
    buttonFlatOrSharp->setAccessibilityLabel(showsFlat ? bundle->localizedString("SpellWithFlats", "Spell with flats")
                                                       : bundle->localizedString("SpellWithSharps", "Spell with sharps"));
}

void ChordsViewController::promptToReview() {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    const int64_t chordsSearched = defaults->integerForKey(kChordsSearchedKey);
    const int64_t variantsSearched = defaults->integerForKey(kVariantsSearchedKey);
    platform::NSLog("Acordes consultados:%ld", chordsSearched);
    platform::NSLog("Variantes consultadas:%ld", variantsSearched);
    // Read as unsigned, a damaged negative count is far beyond every threshold.
    if (isReviewThreshold(static_cast<uint64_t>(chordsSearched)) && requestReview_) requestReview_();
}

std::map<std::string, platform::OutletBinder> ChordsViewController::outlets() {
    std::map<std::string, platform::OutletBinder> binders = {
        {"chordsTitle1", platform::outlet(chordsTitle1)},
        {"chordsTitle2", platform::outlet(chordsTitle2)},
        {"buttonFlatOrSharp", platform::outlet(buttonFlatOrSharp)},
        {"selectRootChord", platform::outlet(selectRootChord)},
        {"selectVariant", platform::outlet(selectVariant)},
        {"chordDisplay", platform::outlet(chordDisplay)},
        {"rightNumberFr1", platform::outlet(rightNumberFr1)},
        {"rightNumberFr2", platform::outlet(rightNumberFr2)},
        {"leftNumberFr2", platform::outlet(leftNumberFr2)},
    };
    for (int string = 1; string <= kStringCount; ++string) {
        const auto s = static_cast<size_t>(string - 1);
        binders.emplace("string" + std::to_string(string) + "Status", platform::outlet(this->*kStatusViews[s]));
        for (int fret = 1; fret <= kFretCount; ++fret) {
            binders.emplace("Str" + std::to_string(string) + "Fr" + std::to_string(fret),
                            platform::outlet(this->*kDotViews[s][static_cast<size_t>(fret - 1)]));
        }
    }
    for (int fret = 1; fret <= kFretCount; ++fret) {
        binders.emplace("BarFr" + std::to_string(fret), platform::outlet(this->*kBarreViews[static_cast<size_t>(fret - 1)]));
    }
    return binders;
}

std::map<std::string, platform::Control::Action> ChordsViewController::actions() {
    return {{"toggleSharpOfFlat:", [this](platform::Control* sender) { toggleSharpOfFlat(sender); }}};
}

}  // namespace chords
