#include "effects/effect_slots.h"

#include <cctype>
#include <limits>

#include "effects/effect_params.h"

namespace anitrope {
namespace {

std::size_t ValueIndex(int slot) { return slot >= 1 && slot <= kValueSlots ? slot - 1 : 0; }
std::size_t CheckIndex(int slot) { return slot >= 1 && slot <= kCheckSlots ? slot - 1 : 0; }
std::size_t ListIndex(int list) { return list == 2 ? 1 : 0; }

}  // namespace

int32_t ReadSignedNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    value = negative ? -value : std::min(value, kLimit - 1);
    return static_cast<int32_t>(value);
}

void SlotRecord::ResetSlots() {
    values = {};
    checks = {};
    pingPong.enabled = false;  // its state is the record's PingPong, which entries may clear
    lists = {};
    colorEnabled = false;
}

void SlotRecord::EnableValue(int slot, std::optional<std::string> label,
                             std::optional<std::string> text) {
    ValueState& v = ValueSlot(slot);
    v.enabled = true;
    if (label) v.label = *label;
    if (text) v.text = *text;
}

void SlotRecord::EnableCheck(int slot, std::optional<std::string> label, bool checked) {
    CheckState& c = CheckSlot(slot);
    c.enabled = true;
    c.checked = checked;
    if (label && slot != kPingPongSlot) c.label = *label;
}

void SlotRecord::SetListLabel(int list, const std::string& label) { ListSlot(list).label = label; }

void SlotRecord::AddListItem(int list, const std::string& text) {
    ListState& l = ListSlot(list);
    l.enabled = true;
    l.items.push_back(text);
}

void SlotRecord::SelectListItem(int list, int item) {
    ListState& l = ListSlot(list);
    l.selection = item >= 0 && item < static_cast<int>(l.items.size()) ? item : -1;
}

int32_t SlotRecord::Value(int slot) const { return ReadSignedNumber(ValueSlot(slot).text); }
bool SlotRecord::Checked(int slot) const { return CheckSlot(slot).checked; }
int SlotRecord::ListSelection(int list) const { return ListSlot(list).selection; }

SlotRecord::ValueState& SlotRecord::ValueSlot(int slot) { return values[ValueIndex(slot)]; }
const SlotRecord::ValueState& SlotRecord::ValueSlot(int slot) const { return values[ValueIndex(slot)]; }
SlotRecord::CheckState& SlotRecord::CheckSlot(int slot) {
    return slot == kPingPongSlot ? pingPong : checks[CheckIndex(slot)];
}
const SlotRecord::CheckState& SlotRecord::CheckSlot(int slot) const {
    return slot == kPingPongSlot ? pingPong : checks[CheckIndex(slot)];
}
SlotRecord::ListState& SlotRecord::ListSlot(int list) { return lists[ListIndex(list)]; }
const SlotRecord::ListState& SlotRecord::ListSlot(int list) const { return lists[ListIndex(list)]; }

void SlotRecord::Store(EffectParams& params) const {
    for (int n = 1; n <= kValueSlots; ++n) ValueOf(params, n) = Value(n);
    for (int n = 1; n <= kCheckSlots; ++n) CheckOf(params, n) = Checked(n) ? 1 : 0;
    params.pingPong = pingPong.checked ? 1 : 0;
    params.direction = ListSelection(1);
    params.option = ListSelection(2);
}

}  // namespace anitrope
