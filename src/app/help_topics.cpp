#include "app/help_topics.h"

#include <algorithm>
#include <array>

namespace anitrope {
namespace {

struct TopicRow {
    HelpForm form;
    int firstControl;
    int lastControl;
    int topic;
};

// clang-format off
constexpr std::array kTopics{
    // The effect dialog: its lists, mode buttons, frame count, value and check slots, colour,
    // description and preview. The value labels carry the ids of their edits.
    TopicRow{HelpForm::Effect, 1020, 1020, 35},  TopicRow{HelpForm::Effect, 1021, 1021, 34},
    TopicRow{HelpForm::Effect, 1022, 1022, 36},  TopicRow{HelpForm::Effect, 1023, 1023, 37},
    TopicRow{HelpForm::Effect, 1024, 1024, 43},  TopicRow{HelpForm::Effect, 1025, 1025, 42},
    TopicRow{HelpForm::Effect, 1026, 1026, 40},  TopicRow{HelpForm::Effect, 1027, 1035, 42},
    TopicRow{HelpForm::Effect, 1036, 1036, 45},  TopicRow{HelpForm::Effect, 1037, 1038, 39},
    TopicRow{HelpForm::Effect, 1040, 1040, 38},  TopicRow{HelpForm::Effect, 1041, 1042, 33},
    TopicRow{HelpForm::Effect, 1043, 1046, 44},  TopicRow{HelpForm::Effect, 1047, 1047, 41},

    TopicRow{HelpForm::Parameters, 1000, 1000, 50}, TopicRow{HelpForm::Parameters, 1001, 1001, 47},
    TopicRow{HelpForm::Parameters, 1002, 1002, 48}, TopicRow{HelpForm::Parameters, 1003, 1003, 51},
    TopicRow{HelpForm::Parameters, 1004, 1004, 49}, TopicRow{HelpForm::Parameters, 1023, 1023, 49},
    TopicRow{HelpForm::Parameters, 1005, 1005, 52}, TopicRow{HelpForm::Parameters, 1006, 1006, 65},
    TopicRow{HelpForm::Parameters, 1007, 1007, 53}, TopicRow{HelpForm::Parameters, 1008, 1008, 67},
    TopicRow{HelpForm::Parameters, 1010, 1010, 55}, TopicRow{HelpForm::Parameters, 1011, 1011, 54},
    TopicRow{HelpForm::Parameters, 1012, 1012, 66}, TopicRow{HelpForm::Parameters, 1013, 1013, 69},
    TopicRow{HelpForm::Parameters, 1019, 1019, 71}, TopicRow{HelpForm::Parameters, 1020, 1020, 68},
    TopicRow{HelpForm::Parameters, 1021, 1021, 63}, TopicRow{HelpForm::Parameters, 1022, 1022, 64},
    TopicRow{HelpForm::Parameters, 1024, 1024, 70}, TopicRow{HelpForm::Parameters, 1025, 1026, 46},
    TopicRow{HelpForm::Parameters, 1027, 1027, 56},

    // The "Frames" label after the options' frame edit answers as 1002, the radio it belongs to.
    TopicRow{HelpForm::Options, 1000, 1000, 29}, TopicRow{HelpForm::Options, 1001, 1001, 30},
    TopicRow{HelpForm::Options, 1002, 1002, 31}, TopicRow{HelpForm::Options, 1004, 1004, 59},
    TopicRow{HelpForm::Options, 1005, 1005, 60}, TopicRow{HelpForm::Options, 1007, 1008, 96},
    TopicRow{HelpForm::Options, 1020, 1020, 93}, TopicRow{HelpForm::Options, 1024, 1024, 32},
    TopicRow{HelpForm::Options, 1042, 1042, 95},

    TopicRow{HelpForm::SaveAnimation, 1000, 1000, 61}, TopicRow{HelpForm::SaveAnimation, 1007, 1008, 96},
    TopicRow{HelpForm::SaveAnimation, 1016, 1016, 62},
    TopicRow{HelpForm::ExportImage, 1000, 1000, 59}, TopicRow{HelpForm::ExportImage, 1001, 1001, 60},
    TopicRow{HelpForm::Comment, 1000, 1000, 97},

    TopicRow{HelpForm::Banner, 1018, 1018, 78}, TopicRow{HelpForm::Banner, 1019, 1019, 90},
    TopicRow{HelpForm::Banner, 1020, 1020, 91}, TopicRow{HelpForm::Banner, 1021, 1021, 80},
    TopicRow{HelpForm::Banner, 1022, 1022, 81}, TopicRow{HelpForm::Banner, 1023, 1023, 82},
    TopicRow{HelpForm::Banner, 1024, 1024, 83}, TopicRow{HelpForm::Banner, 1025, 1025, 85},
    TopicRow{HelpForm::Banner, 1026, 1026, 87}, TopicRow{HelpForm::Banner, 1027, 1027, 77},
    TopicRow{HelpForm::Banner, 1028, 1028, 88}, TopicRow{HelpForm::Banner, 1029, 1029, 76},
    TopicRow{HelpForm::Banner, 1030, 1030, 89}, TopicRow{HelpForm::Banner, 1031, 1031, 79},
    TopicRow{HelpForm::Banner, 1032, 1032, 84}, TopicRow{HelpForm::Banner, 1033, 1033, 86},
    TopicRow{HelpForm::Banner, 1034, 1034, 92},
};
// clang-format on

constexpr std::array kKeywords{kEffectDialogHelp, kOptionsDialogHelp, kBannerDialogHelp,
                               kKeyBindingsHelp, kHowToUseHelp};

}  // namespace

int HelpTopic(HelpForm form, int controlId) {
    for (const TopicRow& row : kTopics) {
        if (row.form == form && controlId >= row.firstControl && controlId <= row.lastControl) {
            return row.topic;
        }
    }
    return 0;
}

std::vector<int> HelpTopicsInUse() {
    std::vector<int> topics;
    for (const TopicRow& row : kTopics) topics.push_back(row.topic);
    std::sort(topics.begin(), topics.end());
    topics.erase(std::unique(topics.begin(), topics.end()), topics.end());
    return topics;
}

std::span<const std::string_view> HelpKeywordsInUse() { return kKeywords; }

}  // namespace anitrope
