#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace anitrope {

// A per-user store of named values under one key, as the settings need it: 32-bit numbers,
// texts and byte blocks. Reads of a missing value, or of one of another type, give nothing.
class KeyValueStore {
public:
    using Bytes = std::vector<uint8_t>;

    virtual ~KeyValueStore() = default;

    // Whether the key held anything before this run wrote to it: false on a first start.
    virtual bool Existed() const = 0;

    virtual std::optional<uint32_t> ReadNumber(const std::string& name) const = 0;
    virtual std::optional<std::string> ReadText(const std::string& name) const = 0;
    virtual std::optional<Bytes> ReadBytes(const std::string& name) const = 0;

    virtual void WriteNumber(const std::string& name, uint32_t value) = 0;
    virtual void WriteText(const std::string& name, const std::string& value) = 0;
    virtual void WriteBytes(const std::string& name, const Bytes& value) = 0;
    virtual void Remove(const std::string& name) = 0;

    // Makes the writes durable; false when the store cannot be written.
    virtual bool Flush() = 0;
};

// A store in memory, for tests and for runs that must leave no trace.
class MemoryKeyValueStore final : public KeyValueStore {
public:
    using Value = std::variant<uint32_t, std::string, Bytes>;

    explicit MemoryKeyValueStore(bool existed = false) : existed_(existed) {}

    bool Existed() const override { return existed_; }
    std::optional<uint32_t> ReadNumber(const std::string& name) const override;
    std::optional<std::string> ReadText(const std::string& name) const override;
    std::optional<Bytes> ReadBytes(const std::string& name) const override;
    void WriteNumber(const std::string& name, uint32_t value) override { values_[name] = value; }
    void WriteText(const std::string& name, const std::string& value) override {
        values_[name] = value;
    }
    void WriteBytes(const std::string& name, const Bytes& value) override { values_[name] = value; }
    void Remove(const std::string& name) override { values_.erase(name); }
    bool Flush() override { return !failWrites; }

    const std::map<std::string, Value>& Values() const { return values_; }
    bool failWrites = false;  // Flush reports failure, as a read-only store would

private:
    template <typename T>
    std::optional<T> Read(const std::string& name) const {
        auto found = values_.find(name);
        if (found == values_.end()) return std::nullopt;
        if (const T* value = std::get_if<T>(&found->second)) return *value;
        return std::nullopt;
    }
    bool existed_;
    std::map<std::string, Value> values_;
};

}  // namespace anitrope
