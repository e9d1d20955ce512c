#pragma once

// The installer's texts, in one place.

namespace anitrope::setup_text {

inline constexpr const char* kWindowTitle = "Anitrope Setup ";
inline constexpr const char* kWizardTitle = "Installation Wizard";
inline constexpr const char* kPageGeneral = "General Information";
inline constexpr const char* kPagePath = "Installation Path";
inline constexpr const char* kPageCustomize = "Customize Installation";
inline constexpr const char* kCancelText = "Press Cancel to Continue installation";
inline constexpr const char* kCancelTitle = "Are you sure you want to cancel installation";
inline constexpr const char* kAvailableSpace = "Available Space on Drive %1 : %2 KB";
inline constexpr const char* kRequiredSpace = "Required Space for Installation : %1 KB";
inline constexpr const char* kNoDriveSize = "Couldn't determine DriveSize";
inline constexpr const char* kBrowseTitle = "Select Installation Directory";
inline constexpr const char* kAttention = "Attention Please";
inline constexpr const char* kDriveNotValid = "Selected Drive is not valid";
inline constexpr const char* kNotEnoughSpace = "There is not enough space on the Selected Drive";
inline constexpr const char* kBadPath = "Drive specification incorrect\n eg.: %1";
inline constexpr const char* kHelpBox = "Online &Help";
inline constexpr const char* kExamplesBox = "Animation &Examples ";
inline constexpr const char* kJavaBox = "&Java Examples";
inline constexpr const char* kFinish = "Finish";
inline constexpr const char* kExtracting = "Extracting";
inline constexpr const char* kTo = "to %1";
inline constexpr const char* kCannotOpen = "Couldn't open the file - CONTINUE ?";
inline constexpr const char* kCannotInstall = "Couldn't Install the file - CONTINUE ?";
inline constexpr const char* kCannotDecompress = "Couldn't Decompress the file - CONTINUE ?";
inline constexpr const char* kNoUninstallText =
    "Please use UnInst.exe from the Application directory, or from START-Menu.";
inline constexpr const char* kNoUninstallTitle = "Couldn't write Uninstall Information to registry";
inline constexpr const char* kRegistryPanic = "REGISTRY PANIC !";
inline constexpr const char* kLinksManually = "Please Create Links Manually";
inline constexpr const char* kNoStartMenu = "Couldn't Determine Path To StartMenu";
inline constexpr const char* kSuccessful = "Installation Successful";
inline constexpr const char* kThankYou = "Thank you for installing Anitrope.";
inline constexpr const char* kStartNow = "&Start Anitrope now";
inline constexpr const char* kFinalFinish = "&Finish";
inline constexpr const char* kCheckArchive = "Make sure the archive was ok.";
inline constexpr const char* kFailed = "Installation failed";

}  // namespace anitrope::setup_text
