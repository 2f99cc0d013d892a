#pragma once
// Both strings of the course beside the guide's needle. Where the two strings
// of a course sound the same note: how far apart they lie and how often they
// beat ("Strings 3 · 4: 3.9 cents apart · 1.0 beat/s"), with the reminder
// that beats cannot tell which string is the higher, or that they are in
// unison ("Strings 3 · 4 in unison"). On the course whose second string sounds
// an octave higher: that string's own offset from its pitch and the way to
// turn its peg ("Octave string 6: +20.0 cents ▼"). Nothing until the guide
// has measured them.
// Its words are read once, as the screen is made. Main thread only.

#include <string>

#include "guide/GuideReading.h"
#include "sound/Courses.h"
#include "tuner/ScreenOutlets.h"

namespace tuner {

class PairDisplay {
public:
    // Shows on `outlets`, which must outlive this.
    explicit PairDisplay(const ScreenOutlets& outlets);

    // Shows what `pair` measured of its course's strings.
    void show(const guide::PairReading& pair);
    // Shows nothing.
    void clear();

private:
    struct Texts {
        std::string strings;  // "Strings", before their numbers
        std::string apart;    // "cents apart"
        std::string beats;    // "beat/s"
        std::string unison;   // "in unison"
        std::string whichIsHigher;
        std::string octaveString;  // "Octave string", before its number
        std::string cents;
        char decimalSeparator = '.';
    };
    static Texts textsInLanguageInUse();

    void showSpread(const sound::Course& course, double spread, double centre);
    void showOctave(const sound::Course& course, double octave);

    const ScreenOutlets& outlets_;
    const Texts texts_ = textsInLanguageInUse();
};

}  // namespace tuner
