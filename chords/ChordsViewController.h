#pragma once
// The chord chart screen: a root picker and a chord-type picker, a button that
// switches chord names between sharps and flats, and the diagram of the chosen
// fingering on five strings and four frets. Every drawing raises one of two
// stored usage counters; some values of the first offer the rating prompt.
//
// Everything here runs on the main thread.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chords/ChordShape.h"
#include "chords/ChordTable.h"
#include "chords/UniformRandom.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ViewController.h"

namespace chords {

// Chord names use flats when true, sharps when false. One value for the whole
// process, shared by every chord screen and never stored: each run starts with
// sharps.
extern bool flatSpelling;

class ChordsViewController : public platform::ViewController,
                             public platform::PickerViewDataSource,
                             public platform::PickerViewDelegate {
public:
    // The stored counters: displayChord raises the first, applyVariant the second.
    static constexpr const char* kChordsSearchedKey = "chordsSearched";
    static constexpr const char* kVariantsSearchedKey = "variantsSearched";

    // Draws the start-up selection uniformly and asks the rating prompt itself.
    ChordsViewController();
    // `random` draws the start-up selection; `requestReview` asks the rating
    // prompt to show itself.
    ChordsViewController(RandomSource random, std::function<void()> requestReview);

    // Sets the title and the picker lists, then makes the random start-up selection.
    void viewDidLoad() override;
    void loadChordsTitle();
    void loadChordList();

    int64_t numberOfComponentsInPickerView(platform::PickerView& picker) override;
    int64_t pickerViewNumberOfRowsInComponent(platform::PickerView& picker, int64_t component) override;
    std::string pickerViewTitleForRow(platform::PickerView& picker, int64_t row, int64_t component) override;
    void pickerViewDidSelectRow(platform::PickerView& picker, uint64_t row, int64_t component) override;

    // Opens on a root "A" to "E" (rows 0 to 7) and the chord type "-" or "m".
    void preselectChord();
    // The action of buttonFlatOrSharp.
    void toggleSharpOfFlat(platform::Control* sender);
    // Logs both counters and offers the rating prompt at 10, 20, 30, 40 and 50
    // chords searched.
    void promptToReview();

    // The diagram (ChordsFretboard.cpp).
    void clearFretboard();
    // Draws the plain chord of the selected root, then offers the rating prompt.
    void displayChord();
    // Draws the selected root with the selected chord type.
    void applyVariant();

    std::map<std::string, platform::OutletBinder> outlets() override;
    std::map<std::string, platform::Control::Action> actions() override;

    // The root picker's titles: the localised root keys.
    const std::vector<std::string>& chordList() const { return chordList_; }
    // The chord-type picker's titles: the variant keys themselves.
    const std::vector<std::string>& variantList() const { return variantList_; }
    // The selected root key; none until a root is selected.
    const std::optional<std::string>& currentChord() const { return currentChord_; }
    // The selected variant key; none until a chord type is selected.
    const std::optional<std::string>& currentVariant() const { return currentVariant_; }

    // Views supplied by the screen layout.
    std::shared_ptr<platform::Label> chordsTitle1;
    std::shared_ptr<platform::Label> chordsTitle2;  // no operation writes it
    std::shared_ptr<platform::Button> buttonFlatOrSharp;
    std::shared_ptr<platform::PickerView> selectRootChord;
    std::shared_ptr<platform::PickerView> selectVariant;
    std::shared_ptr<platform::Label> chordDisplay;
    // The diagram: an open or muted mark per string, a dot per string and fret
    // (StrSFrF: string S at fret F), a barre per fret, and three fret numbers
    // that only the clear touches.
    std::shared_ptr<platform::ImageView> string1Status, string2Status, string3Status, string4Status, string5Status;
    std::shared_ptr<platform::ImageView> Str1Fr1, Str1Fr2, Str1Fr3, Str1Fr4;
    std::shared_ptr<platform::ImageView> Str2Fr1, Str2Fr2, Str2Fr3, Str2Fr4;
    std::shared_ptr<platform::ImageView> Str3Fr1, Str3Fr2, Str3Fr3, Str3Fr4;
    std::shared_ptr<platform::ImageView> Str4Fr1, Str4Fr2, Str4Fr3, Str4Fr4;
    std::shared_ptr<platform::ImageView> Str5Fr1, Str5Fr2, Str5Fr3, Str5Fr4;
    std::shared_ptr<platform::ImageView> BarFr1, BarFr2, BarFr3, BarFr4;
    std::shared_ptr<platform::ImageView> rightNumberFr1, rightNumberFr2, leftNumberFr2;

private:
    using ImageOutlet = std::shared_ptr<platform::ImageView> ChordsViewController::*;
    static const std::array<ImageOutlet, kStringCount> kStatusViews;
    static const std::array<std::array<ImageOutlet, kFretCount>, kStringCount> kDotViews;
    static const std::array<ImageOutlet, kFretCount> kBarreViews;
    static const std::array<ImageOutlet, 3> kFretNumberViews;

    // The table cell of the current root and chord type, if both are keys.
    std::optional<ChordCell> currentCell() const;
    // Draws a fingering and its name over a cleared diagram.
    void drawShape(const ChordShape& shape, const std::string& name);
    // Names the chord's name for screen readers with the fingering in words.
    void describeShape(const std::string& spoken);
    void setDiagramImage(ImageOutlet view, platform::ImageRef image);
    void setButtonImage(const char* name);
    // Names the spelling button for screen readers after the picture it shows.
    void describeSpellingButton();

    RandomSource random_;
    std::function<void()> requestReview_;
    std::vector<std::string> chordList_;
    std::vector<std::string> variantList_;
    std::optional<std::string> currentChord_;
    std::optional<std::string> currentVariant_;
};

}  // namespace chords
