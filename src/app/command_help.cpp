#include "app/command_help.h"

#include <array>
#include <utility>

#include "app/command_ids.h"

namespace anitrope {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 40> kHelp{{
    {CmdOpen, "Opens an animation, a picture or a video"},
    {CmdSaveAs, "Saves the animation under a new name"},
    {CmdNew, "Closes the animation and starts a new one"},
    {CmdExportImage, "Saves the selected image as a GIF or JPEG file"},
    {CmdExportAll, "Saves every image as a numbered file"},
    {CmdExit, "Quits Anitrope"},
    {CmdCopy, "Copies the selected image to the clipboard"},
    {CmdPaste, "Inserts the picture on the clipboard as a new image"},
    {CmdPasteKey, "Inserts the picture on the clipboard as a new image"},
    {CmdParameters, "Shows or hides the Parameters window"},
    {CmdDelete, "Removes the selected item"},
    {CmdDuplicate, "Inserts a copy of the selected image"},
    {CmdCut, "Moves the selected image to the clipboard"},
    {CmdInsertEffect, "Inserts frames made by an effect"},
    {CmdInsertTransition, "Inserts frames leading to the next image"},
    {CmdInsertTransitionKey, "Inserts frames leading to the next image"},
    {CmdResize, "Changes the size of every image"},
    {CmdUnoptimize, "Makes every image a whole picture again"},
    {CmdOptimize, "Cuts every image to what changes"},
    {CmdHelpContents, "Shows the contents of the manual"},
    {CmdHelpSearch, "Searches the manual"},
    {CmdHelpOnHelp, "Explains how to use the manual"},
    {CmdAbout, "Shows the version of Anitrope"},
    {CmdGotoFirst, "Selects the first image"},
    {CmdStartAnimation, "Plays the animation or stops it"},
    {CmdStopAnimation, "Stops the animation"},
    {CmdGotoLast, "Selects the last image"},
    {CmdOptions, "Changes the settings of Anitrope"},
    {CmdBannerText, "Inserts frames of scrolling banner text"},
    {CmdKeyBindings, "Lists the keys and what they do"},
    {CmdComment, "Adds or edits a comment"},
    {CmdRecentFile1, "Opens this recently used file"},
    {CmdRecentFile1 + 1, "Opens this recently used file"},
    {CmdRecentFile1 + 2, "Opens this recently used file"},
    {CmdRecentFile1 + 3, "Opens this recently used file"},
    {CmdRecentFile1 + 4, "Opens this recently used file"},
    {CmdEffectButton, "Inserts frames made by an effect or a transition"},
    {CmdUndo, "Takes back the last change"},
    {CmdRedo, "Makes the change taken back again"},
    {CmdOpenCommandLine, "Opens an animation, a picture or a video"},
}};

}  // namespace

std::string_view CommandHelp(int command) {
    for (const auto& [id, text] : kHelp)
        if (id == command) return text;
    return {};
}

std::string_view MenuHelp(std::string_view menuTitle) {
    if (menuTitle == "&File") return "Open, save, or print documents";
    if (menuTitle == "&Edit") return "Copies to the clipboard";
    if (menuTitle == "&Help") return "Gets Help";
    return {};
}

}  // namespace anitrope
