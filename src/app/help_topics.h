#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace anitrope {

// The windows whose controls have pop-up help, each with its own control ids.
enum class HelpForm { Effect, Parameters, Options, SaveAnimation, ExportImage, Comment, Banner };

// The manual's pages that the editor opens by keyword.
inline constexpr std::string_view kEffectDialogHelp = "Select Effect/Transition Dialog";
inline constexpr std::string_view kOptionsDialogHelp = "Options Dialog";
inline constexpr std::string_view kBannerDialogHelp = "Banner Dialog";
inline constexpr std::string_view kKeyBindingsHelp = "Key Bindings";
inline constexpr std::string_view kHowToUseHelp = "How To Use Help";

// The numbered pop-up topic of a control, 0 for controls without help.
int HelpTopic(HelpForm form, int controlId);

// Every topic and keyword the editor may ask the manual for, so the manual can be checked
// against them.
std::vector<int> HelpTopicsInUse();
std::span<const std::string_view> HelpKeywordsInUse();

}  // namespace anitrope
