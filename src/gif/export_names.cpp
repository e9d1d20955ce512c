#include "gif/export_names.h"

#include <algorithm>

namespace anitrope {
namespace {

// Where the file name begins: after the last separator of either kind, as paths typed on any
// system may carry both.
std::size_t FileNameStart(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

std::size_t FirstDot(std::string_view name) { return name.find('.', FileNameStart(name)); }

std::string Padded(std::size_t k, int digits) {
    std::string number = std::to_string(k);
    if (number.size() < static_cast<std::size_t>(digits))
        number.insert(0, static_cast<std::size_t>(digits) - number.size(), '0');
    return number;
}

}  // namespace

int ExportDigits(std::size_t frames) {
    if (frames <= 8) return 1;
    if (frames <= 98) return 2;
    if (frames <= 998) return 3;
    if (frames <= 9998) return 4;
    return 5;
}

bool HasGifExtension(std::string_view name) {
    const std::size_t dot = FirstDot(name);
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    return extension.size() == 4 &&
           std::equal(extension.begin(), extension.end(), ".GIF", [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? char(a - 'a' + 'A') : a) == b;
           });
}

IndicatorCheck CheckIndicator(std::string_view name, std::string_view indicator, int digits) {
    if (indicator.size() != 1) return {IndicatorStatus::NotOneCharacter, 0};
    const int found = static_cast<int>(std::count(name.begin(), name.end(), indicator[0]));
    if (found == 0) return {IndicatorStatus::NotFound, 0};
    if (found != digits) return {IndicatorStatus::WrongCount, found};
    return {IndicatorStatus::Ok, found};
}

std::string IndicatorMessage(const IndicatorCheck& check, int digits) {
    switch (check.status) {
        case IndicatorStatus::Ok:
            return {};
        case IndicatorStatus::NotOneCharacter:
            return "Please specify exactly one character to be used as the indicator";
        case IndicatorStatus::NotFound:
            return "Can't find Indicator in FileName";
        case IndicatorStatus::WrongCount:
            return "Found indicator " + std::to_string(check.found) + " times, but only " +
                   std::to_string(digits) + " occurrences allowed";
    }
    return {};
}

std::string ExportName(std::string_view name, std::optional<char> indicator, int digits,
                       std::size_t k) {
    std::string number = Padded(k, digits);
    std::string result(name);
    if (!indicator) {
        const std::size_t dot = FirstDot(name);
        result.insert(dot == std::string_view::npos ? result.size() : dot, number);
        return result;
    }
    number.erase(0, number.size() - static_cast<std::size_t>(digits));
    std::size_t next = 0;
    for (char& c : result)
        if (c == *indicator && next < number.size()) c = number[next++];
    return result;
}

}  // namespace anitrope
