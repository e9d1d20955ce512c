#include "effects/effect_params.h"

namespace anitrope {
namespace {

template <typename Params>
auto& Value(Params& p, int slot) {
    switch (slot) {
        case 2: return p.value2;
        case 3: return p.value3;
        case 4: return p.value4;
        case 5: return p.value5;
        default: return p.value1;
    }
}

template <typename Params>
auto& Check(Params& p, int slot) {
    switch (slot) {
        case 2: return p.check2;
        case 3: return p.check3;
        case 4: return p.check4;
        default: return p.check1;
    }
}

}  // namespace

int32_t& ValueOf(EffectParams& params, int slot) { return Value(params, slot); }
int32_t ValueOf(const EffectParams& params, int slot) { return Value(params, slot); }
int32_t& CheckOf(EffectParams& params, int slot) { return Check(params, slot); }
int32_t CheckOf(const EffectParams& params, int slot) { return Check(params, slot); }

}  // namespace anitrope
