#include "platform/key_value_store.h"

namespace anitrope {

std::optional<uint32_t> MemoryKeyValueStore::ReadNumber(const std::string& name) const {
    return Read<uint32_t>(name);
}

std::optional<std::string> MemoryKeyValueStore::ReadText(const std::string& name) const {
    return Read<std::string>(name);
}

std::optional<KeyValueStore::Bytes> MemoryKeyValueStore::ReadBytes(const std::string& name) const {
    return Read<Bytes>(name);
}

}  // namespace anitrope
