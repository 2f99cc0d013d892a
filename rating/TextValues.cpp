#include "rating/TextValues.h"

#include <cctype>
#include <charconv>

namespace rating {
namespace {

// The text from its first character that is not white space, without a '+'
// sign, which from_chars does not take.
std::string_view numberPart(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return text;
}

template <typename T>
T leading(std::string_view text) {
    text = numberPart(text);
    T value{};
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return T{};
    return value;
}

}  // namespace

double leadingDouble(std::string_view text) { return leading<double>(text); }

int64_t leadingInteger(std::string_view text) { return leading<int64_t>(text); }

}  // namespace rating
