// The chord screen's diagram: clearing it, and drawing a cell of the chord
// table on it, either the plain chord of the selected root or the selected
// root with the selected chord type.


#include "chords/ChordName.h"
#include "chords/ChordsViewController.h"
#include "chords/SpokenChord.h"
#include "platform/ui/Image.h"
#include "platform/store/UserDefaults.h"

namespace chords {
namespace {

// Add one and write through at once. A damaged store may hold the largest
// count; it then wraps to the smallest rather than overflowing.
void incrementStoredCounter(const char* key) {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->incrementIntegerForKey(key, platform::UserDefaults::Overflow::Wrap);
    defaults->synchronize();
}

}  // namespace

using C = ChordsViewController;

const std::array<C::ImageOutlet, kStringCount> C::kStatusViews = {
    &C::string1Status, &C::string2Status, &C::string3Status, &C::string4Status, &C::string5Status};

const std::array<std::array<C::ImageOutlet, kFretCount>, kStringCount> C::kDotViews = {{
    {&C::Str1Fr1, &C::Str1Fr2, &C::Str1Fr3, &C::Str1Fr4},
    {&C::Str2Fr1, &C::Str2Fr2, &C::Str2Fr3, &C::Str2Fr4},
    {&C::Str3Fr1, &C::Str3Fr2, &C::Str3Fr3, &C::Str3Fr4},
    {&C::Str4Fr1, &C::Str4Fr2, &C::Str4Fr3, &C::Str4Fr4},
    {&C::Str5Fr1, &C::Str5Fr2, &C::Str5Fr3, &C::Str5Fr4},
}};

const std::array<C::ImageOutlet, kFretCount> C::kBarreViews = {&C::BarFr1, &C::BarFr2, &C::BarFr3, &C::BarFr4};

const std::array<C::ImageOutlet, 3> C::kFretNumberViews = {&C::rightNumberFr1, &C::rightNumberFr2,
                                                           &C::leftNumberFr2};

void ChordsViewController::clearFretboard() {
    if (chordDisplay) chordDisplay->setText("-");
    for (const auto view : kFretNumberViews) setDiagramImage(view, nullptr);
    for (const auto view : kStatusViews) setDiagramImage(view, nullptr);
    for (const auto& string : kDotViews) {
        for (const auto view : string) setDiagramImage(view, nullptr);
    }
    for (const auto view : kBarreViews) setDiagramImage(view, nullptr);
}

void ChordsViewController::displayChord() {
    clearFretboard();
    incrementStoredCounter(kChordsSearchedKey);
    if (const auto row = currentChord_ ? rootRow(*currentChord_) : std::nullopt) {
        const ChordCell plainChord{*row, 0};
        drawShape(shapeAt(plainChord), chordName(kRootKeys[*row], kVariantKeys[0], flatSpelling));
        describeShape(spokenChord(shapeAt(plainChord), kRootKeys[*row], kVariantKeys[0], flatSpelling));
    }
    promptToReview();
}

void ChordsViewController::applyVariant() {
    clearFretboard();
    incrementStoredCounter(kVariantsSearchedKey);
    if (const auto cell = currentCell()) {
        drawShape(shapeAt(*cell), chordName(kRootKeys[cell->row], kVariantKeys[cell->column], flatSpelling));
        describeShape(spokenChord(shapeAt(*cell), kRootKeys[cell->row], kVariantKeys[cell->column], flatSpelling));
    }
}

std::optional<ChordCell> ChordsViewController::currentCell() const {
    if (!currentChord_ || !currentVariant_) return std::nullopt;
    return findCell(*currentChord_, *currentVariant_);
}

void ChordsViewController::drawShape(const ChordShape& shape, const std::string& name) {
    const auto open = platform::imageNamed("circle.png");
    const auto muted = platform::imageNamed("x.png");
    const auto dot = platform::imageNamed("dot.png");
    const auto bar = platform::imageNamed("bar.png");
    for (size_t s = 0; s < shape.status.size(); ++s) {
        if (shape.status[s] == StringStatus::Open) setDiagramImage(kStatusViews[s], open);
        if (shape.status[s] == StringStatus::Muted) setDiagramImage(kStatusViews[s], muted);
    }
    if (shape.barreFret) setDiagramImage(kBarreViews.at(static_cast<size_t>(*shape.barreFret - 1)), bar);
    for (const auto& finger : shape.dots) {
        setDiagramImage(kDotViews.at(static_cast<size_t>(finger.string - 1)).at(static_cast<size_t>(finger.fret - 1)),
                        dot);
    }
    if (chordDisplay) chordDisplay->setText(name);
}

void ChordsViewController::describeShape(const std::string& spoken) {
    // The diagram's pictures say nothing to a screen reader; the chord's name says the fingering.
    if (chordDisplay) chordDisplay->setAccessibilityLabel(spoken);
}

void ChordsViewController::setDiagramImage(ImageOutlet view, platform::ImageRef image) {
    if (const auto& imageView = this->*view) imageView->setImage(std::move(image));
}

}  // namespace chords
